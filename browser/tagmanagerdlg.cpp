#include "browser/tagmanagerdlg.h"

#include "browser/addnewgroupdlg.h"
#include "browser/addnewtagdlg.h"
#include "browser/browserprompts.h"
#include "browser/copygroupdlg.h"
#include "browser/renamegroup.h"
#include "browser/renametag.h"
#include "controls/drawnicons.h"
#include "controls/theme.h"
#include "store/settingsstore.h"
#include "store/slotrules.h"
#include "store/tagcatalogue.h"
#include "store/taggroupactions.h"

#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QResizeEvent>
#include <QVBoxLayout>

namespace {

constexpr const char* kMsgSelectGroup =
    QT_TRANSLATE_NOOP("CTagManagerDlg", "Please select Tag Group.");
constexpr const char* kMsgSelectGroupToRename =
    QT_TRANSLATE_NOOP("CTagManagerDlg", "Please, select a Tag Group to rename");
constexpr const char* kMsgSelectTag = QT_TRANSLATE_NOOP("CTagManagerDlg", "Please, select Tag");
constexpr const char* kWarning = QT_TRANSLATE_NOOP("CTagManagerDlg", "Warning!");

} // namespace

CTagManagerDlg::CTagManagerDlg(SContext context, QWidget* parent)
    : QDialog(parent), m_context(context), m_catalogue(QFileInfo(context.catalogue.Path()).path()),
      m_groups(new QListWidget(this)), m_tags(new QListWidget(this))
{
    setWindowTitle(tr("Tag Manager"));
    setWindowIcon(DrawnIcons::AppIcon());
    // The browser's green selection, so the editors read as part of it.
    QPalette colours = palette();
    colours.setColor(QPalette::Highlight, Theme::Accent());
    colours.setColor(QPalette::HighlightedText, Qt::white);
    setPalette(colours);
    m_groups->setObjectName(QStringLiteral("groups"));
    m_tags->setObjectName(QStringLiteral("tags"));

    auto* boxes = new QWidget(this);
    m_boxes = new QBoxLayout(QBoxLayout::TopToBottom, boxes);
    m_boxes->setContentsMargins(0, 0, 0, 0);
    m_boxes->addWidget(BuildGroupBox(), 1);
    m_boxes->addWidget(BuildTagBox(), 1);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &CTagManagerDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CTagManagerDlg::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(boxes, 1);
    layout->addWidget(buttons);

    connect(m_groups, &QListWidget::currentRowChanged, this, [this] { ListTags(0); });
    for (int slot = 0; slot < CSettingsStore::kSlotCount; ++slot)
        m_kinds.append(m_context.settings.Slot(slot));

    m_catalogue.SetJournal(&m_journal);
    m_backedUp = m_catalogue.Backup();
    ListGroups(0);
    if (!m_backedUp) {
        for (QPushButton* button : findChildren<QPushButton*>()) {
            if (!button->objectName().isEmpty())
                button->setEnabled(false);
        }
        Tell(tr("The tags file could not be backed up, so changes could not be undone. "
                "The tag groups can be looked at but not changed."));
    }
}

QWidget* CTagManagerDlg::BuildGroupBox()
{
    auto* box = new QGroupBox(tr("Tag Group"), this);
    auto* row = new QHBoxLayout;
    AddButton(row, QStringLiteral("addGroup"), tr("Add"), &CTagManagerDlg::OnAddGroup);
    AddButton(row, QStringLiteral("copyGroup"), tr("Copy"), &CTagManagerDlg::OnCopyGroup);
    AddButton(row, QStringLiteral("renameGroup"), tr("Rename"), &CTagManagerDlg::OnRenameGroup);
    AddButton(row, QStringLiteral("deleteGroup"), tr("Delete"), &CTagManagerDlg::OnDeleteGroup);
    auto* layout = new QVBoxLayout(box);
    layout->addWidget(m_groups, 1);
    layout->addLayout(row);
    return box;
}

QWidget* CTagManagerDlg::BuildTagBox()
{
    auto* box = new QGroupBox(tr("Tags"), this);
    auto* row = new QHBoxLayout;
    AddButton(row, QStringLiteral("addTag"), tr("Add"), &CTagManagerDlg::OnAddTag);
    AddButton(row, QStringLiteral("renameTag"), tr("Rename"), &CTagManagerDlg::OnRenameTag);
    AddButton(row, QStringLiteral("deleteTag"), tr("Delete"), &CTagManagerDlg::OnDeleteTag);
    QPushButton* up =
        AddButton(row, QStringLiteral("moveUp"), QString(), &CTagManagerDlg::OnMoveTagUp);
    // Drawn in the palette's terms: a desktop theme's grey arrows look disabled on a dark
    // button while they are enabled.
    const QColor face = palette().color(QPalette::Button);
    up->setIcon(DrawnIcons::Drawn(DrawnIcons::EGlyph::ScrollUp, face));
    up->setToolTip(tr("Move the tag up"));
    QPushButton* down =
        AddButton(row, QStringLiteral("moveDown"), QString(), &CTagManagerDlg::OnMoveTagDown);
    down->setIcon(DrawnIcons::Drawn(DrawnIcons::EGlyph::ScrollDown, face));
    down->setToolTip(tr("Move the tag down"));
    auto* layout = new QVBoxLayout(box);
    layout->addWidget(m_tags, 1);
    layout->addLayout(row);
    return box;
}

QPushButton* CTagManagerDlg::AddButton(QBoxLayout* row, const QString& name, const QString& text,
                                       void (CTagManagerDlg::*handler)())
{
    auto* button = new QPushButton(text, this);
    button->setObjectName(name);
    button->setAutoDefault(false);
    connect(button, &QPushButton::clicked, this, handler);
    row->addWidget(button);
    return button;
}

QPushButton* CTagManagerDlg::Button(const QString& name) const
{
    return findChild<QPushButton*>(name);
}

void CTagManagerDlg::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    m_boxes->setDirection(event->size().width() >= kWideFrom ? QBoxLayout::LeftToRight
                                                             : QBoxLayout::TopToBottom);
}

void CTagManagerDlg::ListGroups(int select)
{
    const QSignalBlocker block(m_groups);
    m_groups->clear();
    m_groups->addItems(m_catalogue.ListGroups());
    if (m_groups->count() > 0)
        m_groups->setCurrentRow(qBound(0, select, m_groups->count() - 1));
    ListTags(0);
}

void CTagManagerDlg::ListTags(int select)
{
    m_tags->clear();
    m_tags->addItems(m_catalogue.ListTagsOfGroup(SelectedGroup()));
    if (m_tags->count() > 0)
        m_tags->setCurrentRow(qBound(0, select, m_tags->count() - 1));
}

QString CTagManagerDlg::SelectedGroup() const
{
    const QListWidgetItem* item = m_groups->currentItem();
    return item ? item->text() : QString();
}

QString CTagManagerDlg::SelectedTag() const
{
    const QListWidgetItem* item = m_tags->currentItem();
    return item ? item->text() : QString();
}

void CTagManagerDlg::Tell(const QString& text)
{
    m_context.prompts.Tell(EPromptIcon::Exclamation, QString(), text, this);
}

bool CTagManagerDlg::RequireGroup(const QString& message)
{
    if (m_groups->currentItem())
        return true;
    Tell(message);
    return false;
}

bool CTagManagerDlg::RequireTag()
{
    if (!RequireGroup(tr(kMsgSelectGroup)))
        return false;
    if (m_tags->currentItem())
        return true;
    Tell(tr(kMsgSelectTag));
    return false;
}

bool CTagManagerDlg::Changed(bool written)
{
    if (!written) {
        Tell(m_context.catalogue.WriteFailureMessage());
        return false;
    }
    m_changed = true;
    return true;
}

void CTagManagerDlg::OnAddGroup()
{
    const int row = m_groups->currentRow();
    CAddNewGroupDlg dialog(m_catalogue, m_context.prompts, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    m_changed = true;
    ListGroups(row);
}

void CTagManagerDlg::OnCopyGroup()
{
    if (!RequireGroup(tr(kMsgSelectGroup)))
        return;
    const QString group = SelectedGroup();
    CCopyGroupDlg dialog(m_catalogue, m_catalogue.MakeCopyName(group), m_context.prompts, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    const ECatalogueResult result = TagGroupActions::CopyGroup(m_catalogue, group, dialog.Name());
    if (result != ECatalogueResult::Ok) {
        Tell(CTagCatalogue::Message(result, true));
        return;
    }
    m_changed = true;
    ListGroups(m_groups->currentRow());
}

void CTagManagerDlg::OnRenameGroup()
{
    if (!RequireGroup(tr(kMsgSelectGroupToRename)))
        return;
    const int row = m_groups->currentRow();
    CRenameGroup dialog(m_catalogue, SelectedGroup(), m_context.prompts, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    const ECatalogueResult result =
        TagGroupActions::RenameGroup(m_catalogue, SelectedGroup(), dialog.Name(), m_kinds);
    if (result != ECatalogueResult::Ok) {
        Tell(CTagCatalogue::Message(result, true));
        return;
    }
    m_renames.GroupRenamed(SelectedGroup(), dialog.Name());
    m_changed = true;
    ListGroups(row);
}

void CTagManagerDlg::OnDeleteGroup()
{
    if (!RequireGroup(tr(kMsgSelectGroup)))
        return;
    const QString group = SelectedGroup();
    const int row = m_groups->currentRow();
    if (!m_context.prompts.Ask(
            tr(kWarning), tr("Do you realy want to delete \"%1\" Tag Group?").arg(group), this))
        return;
    if (Changed(m_catalogue.DeleteGroup(group)))
        ListGroups(row);
}

void CTagManagerDlg::OnAddTag()
{
    if (!RequireGroup(tr(kMsgSelectGroup)))
        return;
    CAddNewTagDlg dialog(m_catalogue, SelectedGroup(), m_context.prompts, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    m_changed = true;
    ListTags(m_tags->currentRow());
}

void CTagManagerDlg::OnRenameTag()
{
    if (!RequireTag())
        return;
    const int row = m_tags->currentRow();
    CRenameTag dialog(m_catalogue, SelectedGroup(), SelectedTag(), m_context.prompts, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    const ECatalogueResult result =
        TagGroupActions::RenameTag(m_catalogue, SelectedGroup(), SelectedTag(), dialog.Name());
    if (result != ECatalogueResult::Ok) {
        Tell(CTagCatalogue::Message(result, false));
        return;
    }
    m_renames.TagRenamed(SelectedGroup(), SelectedTag(), dialog.Name());
    m_changed = true;
    ListTags(row);
}

void CTagManagerDlg::OnDeleteTag()
{
    if (!RequireTag())
        return;
    const QString group = SelectedGroup();
    const QString tag = SelectedTag();
    if (!m_context.prompts.Ask(
            tr(kWarning),
            tr("Do you realy want to delete \"%1\" Tag, from \"%2\" Tag Group?").arg(tag, group),
            this))
        return;
    const int row = m_tags->currentRow();
    if (Changed(m_catalogue.DeleteTag(group, tag)))
        ListTags(row);
}

void CTagManagerDlg::OnMoveTagUp()
{
    if (!RequireTag())
        return;
    const int row = m_tags->currentRow();
    if (row == 0)
        return;
    const EMoveResult moved =
        m_catalogue.MoveTagDown(SelectedGroup(), m_tags->item(row - 1)->text());
    if (moved != EMoveResult::NotMoved && Changed(moved == EMoveResult::Moved))
        ListTags(row - 1);
}

void CTagManagerDlg::OnMoveTagDown()
{
    if (!RequireTag())
        return;
    const int row = m_tags->currentRow();
    if (row + 1 >= m_tags->count())
        return;
    const EMoveResult moved = m_catalogue.MoveTagDown(SelectedGroup(), SelectedTag());
    if (moved != EMoveResult::NotMoved && Changed(moved == EMoveResult::Moved))
        ListTags(row + 1);
}

void CTagManagerDlg::accept()
{
    if (m_backedUp && !m_catalogue.DiscardBackup())
        Tell(tr("The backup \"%1\" could not be removed.").arg(m_catalogue.BackupPath()));
    if (m_changed) {
        bool stored = true;
        const QStringList groups = m_catalogue.ListGroups();
        for (int slot = 0; slot < m_kinds.size(); ++slot) {
            const QString kind = SlotRules::WithoutMissing(slot, m_kinds[slot], groups);
            if (kind != m_context.settings.Slot(slot))
                stored = m_context.settings.SetSlot(slot, kind) && stored;
        }
        if (!stored)
            Tell(m_context.settings.WriteFailureMessage());
    }
    QDialog::accept();
}

void CTagManagerDlg::reject()
{
    if (m_backedUp) {
        const CTagCatalogue::SUndoResult undo = m_catalogue.UndoChanges(m_journal);
        if (undo.outcome == CTagCatalogue::EUndo::Failed)
            m_context.prompts.Tell(
                EPromptIcon::Stop, QString(),
                tr("The changes to the tag groups could not be undone: the tags file could not "
                   "be restored from \"%1\".")
                    .arg(m_catalogue.BackupPath()),
                this);
        else if (undo.outcome == CTagCatalogue::EUndo::UndoneKeptTheirs)
            Tell(undo.conflict ? TheirsKeptText() + QLatin1Char(' ') + ConflictText()
                               : TheirsKeptText());
        else if (undo.conflict)
            Tell(ConflictText());
    }
    m_changed = false;
    m_renames = CRenameTrail();
    QDialog::reject();
}

QString CTagManagerDlg::TheirsKeptText()
{
    return tr("Another program changed the tag groups while the Tag Manager was open. Its "
              "changes are kept; only the changes made here were undone.");
}

QString CTagManagerDlg::ConflictText()
{
    return tr("Where it changed the same lines as a change made here, that change stays as the "
              "other program left it.");
}
