#include "browser/renametag.h"

#include "store/taggroupactions.h"

#include <QLineEdit>

CRenameTag::CRenameTag(const CTagCatalogue& catalogue, const QString& group, const QString& tag,
                       MBrowserPrompts& prompts, QWidget* parent)
    : CNameDlg(tr("Rename Tag"), tag, prompts, parent), m_catalogue(catalogue), m_group(group),
      m_former(tag)
{}

QString CRenameTag::Refusal()
{
    // A bracket among surrounding spaces is refused too, as when a tag is added.
    const QString typed = NameEdit()->text();
    if (typed.contains(u'[') || typed.contains(u']'))
        return CTagCatalogue::Message(ECatalogueResult::InvalidName, false);
    return CTagCatalogue::Message(
        TagGroupActions::CheckTagRename(m_catalogue, m_group, m_former, Name()), false);
}
