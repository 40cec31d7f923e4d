#include "browser/addnewtagdlg.h"

#include "store/tagcatalogue.h"

#include <QLineEdit>

CAddNewTagDlg::CAddNewTagDlg(const CTagCatalogue& catalogue, const QString& group,
                             MBrowserPrompts& prompts, QWidget* parent)
    : CNameDlg(tr("Add New Tag"), QString(), prompts, parent), m_catalogue(catalogue),
      m_group(group)
{}

QString CAddNewTagDlg::Refusal()
{
    // Untrimmed: a bracket anywhere, even among surrounding spaces, is refused.
    return CTagCatalogue::Message(m_catalogue.AddTag(m_group, NameEdit()->text()), false);
}
