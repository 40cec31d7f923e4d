#include "browser/recordspane.h"

#include "audio/audioerror.h"
#include "browser/browserprompts.h"
#include "browser/findrecorddlg.h"
#include "browser/mprisservice.h"
#include "browser/playbacksession.h"
#include "browser/propertyall.h"
#include "browser/recordfolderwatcher.h"
#include "browser/sessionplaybackcontrol.h"
#include "browser/showinfolder.h"

#include <QAction>
#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QListView>
#include <QMenu>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

CRecordsPane::CRecordsPane(SContext context, QWidget* parent)
    : QWidget(parent), m_context(std::move(context)), m_records(m_context.readRecords()),
      m_session(std::make_unique<CPlaybackSession>(m_context.audio))
{
    setObjectName(QStringLiteral("recordsPane"));
    if (m_context.settings)
        m_session->KeepSpeedIn(*m_context.settings);
    m_showInFolder = new CShowInFolder(m_context.bus, {}, this);
    m_services = std::make_unique<SPageServices>(SPageServices{
        m_context.audio, *m_session, m_context.peaks, m_context.prompts, m_context.pim, m_records,
        [this] {
            if (m_context.recordFolders)
                m_records.Refresh(m_context.recordFolders(),
                                  RecordReader::DecodersOf(m_context.audio));
        },
        m_context.now, m_context.programFolder, m_context.settings, m_context.dataFolder,
        [this](const QString& path) {
            m_showInFolder->Show(path);
        }});

    auto* title = new QLabel(tr("Records"), this);
    QFont bold = title->font();
    bold.setWeight(QFont::DemiBold);
    title->setFont(bold);
    m_menuButton = new QToolButton(this);
    m_menuButton->setObjectName(QStringLiteral("paneMenu"));
    m_menuButton->setText(tr("More"));
    m_menuButton->setToolTip(tr("More ways to find records"));
    m_menuButton->setPopupMode(QToolButton::InstantPopup);
    m_menuButton->setToolButtonStyle(Qt::ToolButtonTextOnly);
    auto* menu = new QMenu(m_menuButton);
    m_browserAction = menu->addAction(tr("Records by &Task, Contact or Tag..."));
    m_menuButton->setMenu(menu);
    auto* header = new QHBoxLayout;
    header->setContentsMargins(8, 6, 6, 0);
    header->addWidget(title);
    header->addStretch(1);
    header->addWidget(m_menuButton);

    m_page = new CPropertyAll(*m_services, this);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addLayout(header);
    layout->addWidget(m_page, 1);
    m_page->SetWideLayout(true);
    m_page->Open();

    BuildMediaPlayer();
    m_putOff = new QTimer(this);
    m_putOff->setSingleShot(true);
    m_putOff->setInterval(CFindRecordDlg::kSettleMs);
    connect(m_putOff, &QTimer::timeout, this, &CRecordsPane::RefreshFromFolders);
    if (m_context.recordFolders) {
        auto* watcher =
            new CRecordFolderWatcher(m_context.recordFolders, CFindRecordDlg::kSettleMs, this);
        connect(watcher, &CRecordFolderWatcher::Changed, this, &CRecordsPane::RefreshFromFolders);
    }
}

CRecordsPane::~CRecordsPane()
{
    // The page and the media player go while the playback and the services they use still
    // exist.
    delete m_mpris;
    delete m_page;
    m_page = nullptr;
    m_session.reset();
}

void CRecordsPane::BuildMediaPlayer()
{
    // The media keys and the desktop's sound menu reach the pane's playback as they reach the
    // browser window's; only one of the two plays at a time, so only one holds the bus name.
    m_control =
        std::make_unique<CSessionPlaybackControl>(*m_session, [this](const QString& message) {
            m_context.prompts.Tell(EPromptIcon::Stop, tr("Exception"), message, this);
        });
    m_mpris = new CMprisService(*m_control, m_context.bus, this);
    m_mpris->SetRaiseHandler([this] {
        window()->show();
        window()->raise();
        window()->activateWindow();
    });
    connect(m_session.get(), &CPlaybackSession::StateChanged, m_mpris, &CMprisService::Refresh);
    connect(m_session.get(), &CPlaybackSession::PositionJumped, m_mpris,
            &CMprisService::NotifySeeked);
}

void CRecordsPane::FocusList()
{
    m_page->RecordListWidget()->setFocus(Qt::ShortcutFocusReason);
}

void CRecordsPane::StopPlayback()
{
    try {
        m_session->Stop();
    } catch (const CAudioError& error) {
        m_context.prompts.Tell(EPromptIcon::Stop, tr("Exception"),
                               QString::fromStdString(error.what()), this);
    }
}

void CRecordsPane::ShowRecorded(const std::filesystem::path& path)
{
    m_records.Reread(path, RecordReader::DecodersOf(m_context.audio));
    m_page->ShowChanged(path);
}

void CRecordsPane::RefreshFromFolders()
{
    if (!m_context.recordFolders)
        return;
    if (!isEnabled() || QApplication::activeModalWidget()) {
        m_putOff->start();
        return;
    }
    const CRecordBrowser::SRefresh changes =
        m_records.Refresh(m_context.recordFolders(), RecordReader::DecodersOf(m_context.audio));
    if (!changes.Changed())
        return;
    // The newest of the new records (the last in the list's order) is the one to show; a
    // playback the user is hearing keeps its record selected.
    int newest = -1;
    for (const std::filesystem::path& path : changes.added)
        newest = std::max(newest, m_records.IndexOfPath(path));
    if (newest >= 0 && !m_session->IsPlaying())
        m_page->ShowChanged(m_records.Record(newest).path);
    else
        m_page->Reopen();
}
