#include "browser/addnewgroupdlg.h"

#include "store/tagcatalogue.h"

CAddNewGroupDlg::CAddNewGroupDlg(const CTagCatalogue& catalogue, MBrowserPrompts& prompts,
                                 QWidget* parent)
    : CNameDlg(tr("Add New Tag Group"), QString(), prompts, parent), m_catalogue(catalogue)
{}

QString CAddNewGroupDlg::Refusal()
{
    return CTagCatalogue::Message(m_catalogue.AddGroup(Name()), true);
}
