#pragma once

#include "browser/namedlg.h"

class CTagCatalogue;

// "Rename Tag": starts from the tag; OK checks the new text. The tag manager renames.
class CRenameTag : public CNameDlg
{
    Q_OBJECT
public:
    CRenameTag(const CTagCatalogue& catalogue, const QString& group, const QString& tag,
               MBrowserPrompts& prompts, QWidget* parent = nullptr);

protected:
    QString Refusal() override;

private:
    const CTagCatalogue& m_catalogue;
    QString m_group;
    QString m_former;
};
