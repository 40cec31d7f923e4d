#include "browser/browserpage.h"

#include "audio/audioerror.h"
#include "browser/browserprompts.h"
#include "browser/editrecordinfodlg.h"
#include "browser/playbackbar.h"
#include "browser/playbacksession.h"
#include "browser/recordactions.h"
#include "browser/recorddropimport.h"
#include "browser/recordlistmodel.h"
#include "browser/recordrowdelegate.h"
#include "browser/recordsummary.h"
#include "browser/renamerecord.h"
#include "controls/theme.h"
#include "controls/waveformview.h"
#include "controls/wholerowsview.h"
#include "store/nativepath.h"
#include "store/peakscache.h"
#include "store/recordcatalogue.h"
#include "store/tagcatalogue.h"

#include <QAction>
#include <QApplication>
#include <QBoxLayout>
#include <QFileInfo>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QStyle>
#include <QToolButton>
#include <algorithm>

namespace {

// The summary's four rows, and as many again for long tasks, contacts or tags.
constexpr int kStackedSummaryLines = 8;

QString ListStyle()
{
    return QStringLiteral("QListView { background: %1; color: %2; border: 1px solid %3; "
                          "border-radius: 4px; } QListView::item { padding: 3px 4px; } "
                          "QListView::item:selected { background: %4; color: white; }")
        .arg(Theme::ListBase().name(), Theme::ListText().name(), Theme::Border().name(),
             Theme::Accent().name());
}

} // namespace

CBrowserPage::CBrowserPage(SPageServices& services, QWidget* parent)
    : CBackgroundWidget(parent), m_services(services), m_selectorArea(new QVBoxLayout),
      m_search(new QLineEdit(this)), m_model(new CRecordListModel(this)),
      m_list(new CWholeRowsView<QListView>(this)), m_summary(new CRecordSummary(this)),
      m_waveform(new CWaveformView(this)), m_bar(new CPlaybackBar(this)),
      m_split(new QBoxLayout(QBoxLayout::TopToBottom)), m_browseColumn(new QWidget(this)),
      m_detailColumn(new QWidget(this))
{
    m_search->setObjectName(QStringLiteral("search"));
    m_search->setPlaceholderText(tr("Search tags, tasks, contacts, names"));
    m_search->setClearButtonEnabled(true);
    m_list->setObjectName(QStringLiteral("records"));
    // Several records go out together (export, copy); the buttons act on the current one.
    m_list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_list->setUniformItemSizes(true);
    m_list->setModel(m_model);
    m_list->setItemDelegate(new CRecordRowDelegate(m_list));
    // Out to a file manager, a mail or a chat window: the records go as their files.
    m_list->setDragEnabled(true);
    m_list->setDragDropMode(QAbstractItemView::DragOnly);
    m_list->setDefaultDropAction(Qt::CopyAction);
    m_list->setStyleSheet(ListStyle());
    m_list->setMinimumHeight(60);
    m_summary->setMinimumHeight(80);

    m_selectorArea->setContentsMargins(0, 0, 0, 0);
    auto* browse = new QVBoxLayout(m_browseColumn);
    browse->setContentsMargins(0, 0, 0, 0);
    browse->addLayout(m_selectorArea);
    browse->addWidget(m_search);
    browse->addWidget(m_list, 1);

    BuildButtons();
    m_actions = new CRecordActions(
        services, *m_list, [this] { return SelectedPaths(); }, *this);
    new CRecordDropImport(
        services, *m_list,
        [this](const std::vector<std::filesystem::path>& imported) {
            ShowChanged(imported.front());
        },
        *this);
    auto* buttons = new QHBoxLayout;
    for (QPushButton* button : {m_play, m_edit, m_rename, m_delete})
        buttons->addWidget(button);
    buttons->addWidget(m_actions->MenuButton());
    m_detail = new QVBoxLayout(m_detailColumn);
    m_detail->setContentsMargins(0, 0, 0, 0);
    m_detail->addWidget(m_summary);
    // Empty on a phone; on a desktop it keeps the buttons at the bottom, under the list's end.
    m_detail->addStretch(0);
    m_detail->addWidget(m_waveform);
    m_detail->addWidget(m_bar);
    m_detail->addLayout(buttons);

    m_split->addWidget(m_browseColumn, 3);
    m_split->addWidget(m_detailColumn, 2);
    auto* root = new QVBoxLayout(this);
    root->setContentsMargins(6, 6, 6, 6);
    root->addLayout(m_split);

    BuildShortcuts();
    connect(m_list->selectionModel(), &QItemSelectionModel::currentRowChanged, this, [this] {
        if (!m_selecting)
            OnSelectionChanged();
    });
    connect(m_search, &QLineEdit::textChanged, this, [this] {
        StopPlayback();
        FillRecords(SelectedName());
    });
    connect(&m_services.session, &CPlaybackSession::StateChanged, this,
            &CBrowserPage::OnPlaybackState);
    connect(&m_services.session, &CPlaybackSession::Progress, this,
            [this](std::uint64_t elapsed, std::uint64_t total) {
                m_bar->SetProgress(elapsed, total, m_services.session.SampleRate());
                m_waveform->SetPlayhead(elapsed);
            });
    connect(m_bar, &CPlaybackBar::SeekRequested, this, &CBrowserPage::OnSeek);
    connect(m_waveform, &CWaveformView::SeekRequested, this, &CBrowserPage::OnWaveformSeek);
    connect(&m_services.peaks, &CPeaksCache::Ready, this, &CBrowserPage::OnPeaksReady);
    connect(m_bar, &CPlaybackBar::SkipRequested, this, &CBrowserPage::OnSkip);
    connect(m_bar, &CPlaybackBar::SpeedRequested, &m_services.session, &CPlaybackSession::SetSpeed);
    connect(&m_services.session, &CPlaybackSession::SpeedChanged, m_bar, &CPlaybackBar::SetSpeed);
    m_bar->SetSpeed(m_services.session.Speed());
    m_bar->SetPlaying(false);
    // The skips' and speeds' keys work wherever the page's focus is.
    addActions(m_bar->Actions());
}

void CBrowserPage::BuildButtons()
{
    const auto make = [this](const QString& name, const QString& text,
                             QStyle::StandardPixmap icon) {
        auto* button = new QPushButton(style()->standardIcon(icon), text, this);
        button->setObjectName(name);
        button->setFocusPolicy(Qt::TabFocus);
        return button;
    };
    m_play = make(QStringLiteral("play"), tr("Play"), QStyle::SP_MediaPlay);
    m_edit = make(QStringLiteral("edit"), tr("Edit"), QStyle::SP_FileDialogDetailedView);
    m_rename = make(QStringLiteral("rename"), tr("Rename"), QStyle::SP_FileLinkIcon);
    m_delete = make(QStringLiteral("delete"), tr("Delete"), QStyle::SP_TrashIcon);
    m_edit->setToolTip(tr("Change the tags, task and contacts of the selected record (Ctrl+E)"));
    m_play->setToolTip(tr("Play or pause the selected record (Space)"));
    m_rename->setToolTip(tr("Rename the selected record (F2)"));
    m_delete->setToolTip(tr("Delete the selected record (Delete)"));
    connect(m_play, &QPushButton::clicked, this, &CBrowserPage::OnPlay);
    connect(m_edit, &QPushButton::clicked, this, &CBrowserPage::OnEdit);
    connect(m_rename, &QPushButton::clicked, this, &CBrowserPage::OnRename);
    connect(m_delete, &QPushButton::clicked, this, &CBrowserPage::OnDelete);
}

void CBrowserPage::BuildShortcuts()
{
    // A text field takes Delete for itself before a shortcut sees it.
    const auto add = [this](const QKeySequence& key, void (CBrowserPage::*handler)()) {
        auto* action = new QAction(this);
        action->setShortcut(key);
        action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        connect(action, &QAction::triggered, this, handler);
        addAction(action);
    };
    // Space plays from the record list only: in a selector (the tags tree, the contacts)
    // it marks the item under the cursor, as the main screen's lists do.
    auto* play = new QAction(m_list);
    play->setShortcut(QKeySequence(Qt::Key_Space));
    play->setShortcutContext(Qt::WidgetShortcut);
    connect(play, &QAction::triggered, this, &CBrowserPage::OnPlay);
    m_list->addAction(play);
    add(QKeySequence(Qt::Key_F2), &CBrowserPage::OnRename);
    add(QKeySequence(Qt::CTRL | Qt::Key_E), &CBrowserPage::OnEdit);
    add(QKeySequence(QKeySequence::Delete), &CBrowserPage::OnDelete);
    // Reads the record folders again, for records made or removed outside the browser.
    add(QKeySequence(QKeySequence::Refresh), &CBrowserPage::RefreshPage);
}

void CBrowserPage::SetWideLayout(bool wide)
{
    m_wide = wide;
    m_split->setDirection(wide ? QBoxLayout::LeftToRight : QBoxLayout::TopToBottom);
    // Side by side the list takes three fifths of the width; stacked it takes every
    // line the summary, the playback bar and the buttons leave.
    m_split->setStretch(0, wide ? 3 : 1);
    m_split->setStretch(1, wide ? 2 : 0);
    m_detail->setStretch(1, wide ? 1 : 0);
    m_summary->setSizePolicy(QSizePolicy::Preferred,
                             wide ? QSizePolicy::Preferred : QSizePolicy::Maximum);
    // Stacked, the summary shares the height with the list: a long one is cut short.
    m_summary->SetMaximumLines(wide ? 0 : kStackedSummaryLines);
}

QString CBrowserPage::NoRecordsText() const
{
    return tr("No Records");
}

const CRecordBrowser& CBrowserPage::Records() const
{
    return m_services.records;
}

QStringList CBrowserPage::ListedNames() const
{
    QStringList names;
    for (int row = 0; row < m_model->rowCount(); ++row)
        names << m_model->index(row).data(CRecordListModel::FileNameRole).toString();
    return names;
}

int CBrowserPage::CurrentRow() const
{
    return m_list->currentIndex().row();
}

const SBrowsedRecord* CBrowserPage::SelectedEntry() const
{
    return m_model->RecordAt(CurrentRow());
}

QStringList CBrowserPage::SelectedPaths() const
{
    QList<QModelIndex> rows = m_list->selectionModel()->selectedRows();
    std::sort(rows.begin(), rows.end());
    QStringList paths;
    for (const QModelIndex& row : rows) {
        if (const SBrowsedRecord* entry = m_model->RecordAt(row.row()))
            paths << NativePath::Display(entry->path);
    }
    return paths;
}

QString CBrowserPage::SelectedName() const
{
    return m_selectedName;
}

void CBrowserPage::NoteSelection()
{
    const SBrowsedRecord* entry = SelectedEntry();
    m_selectedName = entry ? entry->fileName : QString();
}

void CBrowserPage::StopPlayback()
{
    try {
        m_services.session.Stop();
    } catch (const CAudioError& error) {
        TellAudioError(error);
    }
}

void CBrowserPage::RefreshPage()
{
    StopPlayback();
    QApplication::setOverrideCursor(Qt::WaitCursor);
    m_services.refreshRecords();
    QApplication::restoreOverrideCursor();
    Reopen();
}

void CBrowserPage::Open()
{
    StopPlayback();
    Reopen();
}

void CBrowserPage::Reopen()
{
    const QString keep = SelectedName();
    if (RefreshSelectors())
        FillRecords(keep);
}

void CBrowserPage::ShowChanged(const std::filesystem::path& select)
{
    if (RefreshSelectors())
        FillRecords();
    SelectPath(select);
}

void CBrowserPage::FillRecords(const QString& keep)
{
    SRecordQuery query = Query();
    query.search = m_search->text();
    {
        // One reset for the whole list: thousands of records refill within a frame.
        const QScopedValueRollback selecting(m_selecting, true);
        m_model->SetRecords(Records(), Records().Records(query), NoRecordsText());
    }
    SelectName(keep);
}

void CBrowserPage::SelectName(const QString& name)
{
    int row = 0;
    if (!name.isEmpty()) {
        for (int i = 0; i < m_model->rowCount(); ++i) {
            if (m_model->RecordAt(i) && m_model->RecordAt(i)->fileName == name) {
                row = i;
                break;
            }
        }
    }
    SelectRow(row);
}

void CBrowserPage::SelectRow(int row)
{
    {
        const QScopedValueRollback selecting(m_selecting, true);
        const QModelIndex index = m_model->index(row);
        m_list->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
        m_list->scrollTo(index);
    }
    NoteSelection();
    ShowSummaryOf(SelectedEntry());
}

void CBrowserPage::SelectPath(const std::filesystem::path& path)
{
    // Two names may look alike on screen (bytes that are not UTF-8 show as U+FFFD); the
    // path tells them apart.
    const int index = Records().IndexOfPath(path);
    SelectRow(index < 0 ? 0 : qMax(0, m_model->RowOfRecord(index)));
}

void CBrowserPage::OnSelectionChanged()
{
    NoteSelection();
    StopPlayback();
    ShowSummaryOf(SelectedEntry());
}

void CBrowserPage::ShowSummaryOf(const SBrowsedRecord* entry)
{
    if (!entry) {
        m_summary->ShowNothing();
        m_waveform->SetPeaks(nullptr);
        return;
    }
    m_summary->ShowRecord({entry->recorded, entry->tasks, entry->contacts, entry->tagLines});
    // Known peaks show at once; others are computed off this thread and come with Ready.
    m_waveform->SetPeaks(m_services.peaks.Peaks(entry->path));
}

void CBrowserPage::OnPeaksReady(const std::filesystem::path& path)
{
    const SBrowsedRecord* entry = SelectedEntry();
    if (entry && entry->path == path)
        m_waveform->SetPeaks(m_services.peaks.Peaks(path));
}

void CBrowserPage::OnPlaybackState(bool playing)
{
    m_play->setText(playing ? tr("Pause") : tr("Play"));
    m_play->setIcon(style()->standardIcon(playing ? QStyle::SP_MediaPause : QStyle::SP_MediaPlay));
    // Paused, the bar and the waveform keep the position, and a seek moves it.
    const bool paused = m_services.session.IsPaused();
    m_bar->SetPlaying(playing || paused);
    if (!playing && !paused)
        m_waveform->SetPlayhead(std::nullopt);
}

void CBrowserPage::OnPlay()
{
    try {
        if (m_services.session.IsPlaying()) {
            m_services.session.Pause();
            return;
        }
        if (m_services.session.IsPaused()) {
            m_services.session.Resume();
            return;
        }
    } catch (const CAudioError& error) {
        TellAudioError(error);
        return;
    }
    const SBrowsedRecord* entry = SelectedEntry();
    if (!entry) {
        m_services.prompts.Tell(EPromptIcon::Information, QString(), tr("Can't play it!"), this);
        return;
    }
    PlayFrom(entry->path, 0);
}

void CBrowserPage::PlayFrom(const std::filesystem::path& path, std::uint64_t sample)
{
    try {
        m_services.session.Play(path, sample);
    } catch (const CAudioError& error) {
        RefreshPage();
        TellAudioError(error);
    }
}

void CBrowserPage::TellAudioError(const CAudioError& error)
{
    m_services.prompts.Tell(EPromptIcon::Stop, tr("Exception"),
                            QString::fromStdString(error.what()), this);
}

void CBrowserPage::OnSeek(std::uint64_t sample)
{
    try {
        m_services.session.Seek(sample);
    } catch (const CAudioError& error) {
        TellAudioError(error);
    }
}

void CBrowserPage::OnWaveformSeek(std::uint64_t sample)
{
    if (m_services.session.IsPlaying() || m_services.session.IsPaused()) {
        OnSeek(sample);
        return;
    }
    if (const SBrowsedRecord* entry = SelectedEntry())
        PlayFrom(entry->path, sample);
}

void CBrowserPage::OnSkip(int seconds)
{
    try {
        m_services.session.SkipBy(seconds);
    } catch (const CAudioError& error) {
        TellAudioError(error);
    }
}

void CBrowserPage::OnEdit()
{
    // An empty page (its placeholder line) has nothing to edit, and says so as play,
    // rename and delete do.
    if (!SelectedEntry()) {
        m_services.prompts.Tell(EPromptIcon::Information, QString(),
                                tr("This item has no attached info."), this);
        return;
    }
    StopPlayback();
    std::vector<std::filesystem::path> paths;
    for (int index : m_model->Shown())
        paths.push_back(Records().Record(index).path);
    const CTagCatalogue catalogue(m_services.programFolder);
    CEditRecordInfoDlg editor({m_services.audio, catalogue, m_services.pim, m_services.prompts},
                              paths, CurrentRow(), window());
    // Over the browser window, not inside the tab strip whose style sheet would recolour it.
    editor.resize(window()->size());
    editor.exec();
    // The records the editor wrote are read again; the others are as they were.
    for (const std::filesystem::path& saved : editor.SavedPaths())
        m_services.records.Reread(saved, RecordReader::DecodersOf(m_services.audio));
    ShowChanged(editor.CurrentPath());
}

void CBrowserPage::OnRename()
{
    if (CurrentRow() < 0) {
        m_services.prompts.Tell(EPromptIcon::Information, QString(),
                                tr("Please, select an item to rename"), this);
        return;
    }
    StopPlayback();
    const SBrowsedRecord* entry = SelectedEntry();
    if (!entry) {
        m_services.prompts.Tell(EPromptIcon::Information, QString(),
                                tr("Can not rename this item."), this);
        return;
    }
    const std::filesystem::path old = entry->path;
    CRenameRecord dialog(old, m_services.prompts, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    const std::filesystem::path renamed = dialog.NewPath();
    m_services.records.Remove(old);
    m_services.records.Reread(renamed, RecordReader::DecodersOf(m_services.audio));
    ShowChanged(renamed);
}

void CBrowserPage::OnDelete()
{
    if (CurrentRow() < 0) {
        m_services.prompts.Tell(EPromptIcon::Information, QString(),
                                tr("Please, select an item to delete"), this);
        return;
    }
    const SBrowsedRecord* entry = SelectedEntry();
    if (!entry) {
        m_services.prompts.Tell(EPromptIcon::Information, QString(),
                                tr("Can not delete this item."), this);
        return;
    }
    const std::filesystem::path path = entry->path;
    const EDisposal disposal = DeleteDisposal(path);
    if (!m_services.prompts.Ask(QString(), DeleteQuestion(disposal), this))
        return;
    StopPlayback();
    // The neighbour that takes the deleted record's place, by its path: the refill may
    // order or narrow the list differently.
    const int row = CurrentRow();
    const int next = SelectionAfterDelete(m_model->rowCount(), row);
    const SBrowsedRecord* neighbour = m_model->RecordAt(next >= row ? next + 1 : next);
    const std::filesystem::path nextPath = neighbour ? neighbour->path : std::string();
    const EDeleteResult result = DisposeRecord(path, disposal);
    if (result != EDeleteResult::Deleted) {
        // What the refusal says may come from a change made outside (the file is gone).
        RefreshPage();
        m_services.prompts.Tell(EPromptIcon::Stop, QString(), DeleteRecordMessage(result), this);
        return;
    }
    m_services.records.Remove(path);
    ShowChanged(nextPath);
}

QString CBrowserPage::DeleteQuestion(EDisposal disposal)
{
    return disposal == EDisposal::Trash
               ? tr("Delete this Record?\n\nIt goes to the trash, from which it can "
                    "be restored.")
               : tr("Delete this Record?\n\nIts volume has no trash: the record "
                    "will be deleted for good.");
}
