#pragma once

#include "browser/namedlg.h"

class CTagCatalogue;

// "Rename Group": starts from the group's name; OK checks the new one. The tag manager
// renames.
class CRenameGroup : public CNameDlg
{
    Q_OBJECT
public:
    CRenameGroup(const CTagCatalogue& catalogue, const QString& group, MBrowserPrompts& prompts,
                 QWidget* parent = nullptr);

protected:
    QString Refusal() override;

private:
    const CTagCatalogue& m_catalogue;
    QString m_former;
};
