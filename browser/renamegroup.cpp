#include "browser/renamegroup.h"

#include "store/taggroupactions.h"

CRenameGroup::CRenameGroup(const CTagCatalogue& catalogue, const QString& group,
                           MBrowserPrompts& prompts, QWidget* parent)
    : CNameDlg(tr("Rename Group"), group, prompts, parent), m_catalogue(catalogue), m_former(group)
{}

QString CRenameGroup::Refusal()
{
    return CTagCatalogue::Message(TagGroupActions::CheckGroupRename(m_catalogue, m_former, Name()),
                                  true);
}
