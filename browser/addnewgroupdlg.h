#pragma once

#include "browser/namedlg.h"

class CTagCatalogue;

// "Add New Tag Group": OK appends the group to the catalogue, or says why it can not.
class CAddNewGroupDlg : public CNameDlg
{
    Q_OBJECT
public:
    CAddNewGroupDlg(const CTagCatalogue& catalogue, MBrowserPrompts& prompts,
                    QWidget* parent = nullptr);

protected:
    QString Refusal() override;

private:
    const CTagCatalogue& m_catalogue;
};
