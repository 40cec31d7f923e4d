#include "browser/copygroupdlg.h"

#include "store/taggroupactions.h"

CCopyGroupDlg::CCopyGroupDlg(const CTagCatalogue& catalogue, const QString& proposed,
                             MBrowserPrompts& prompts, QWidget* parent)
    : CNameDlg(tr("Copy Tag Group"), proposed, prompts, parent), m_catalogue(catalogue)
{}

QString CCopyGroupDlg::Refusal()
{
    return CTagCatalogue::Message(TagGroupActions::CheckCopyName(m_catalogue, Name()), true);
}
