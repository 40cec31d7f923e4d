#pragma once

#include "browser/namedlg.h"

class CTagCatalogue;

// "Add New Tag": OK appends the tag as the last of its group, or says why it can not.
class CAddNewTagDlg : public CNameDlg
{
    Q_OBJECT
public:
    CAddNewTagDlg(const CTagCatalogue& catalogue, const QString& group, MBrowserPrompts& prompts,
                  QWidget* parent = nullptr);

protected:
    QString Refusal() override;

private:
    const CTagCatalogue& m_catalogue;
    QString m_group;
};
