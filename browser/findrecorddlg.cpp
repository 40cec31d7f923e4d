#include "browser/findrecorddlg.h"

#include "browser/browserprompts.h"
#include "browser/mprisservice.h"
#include "browser/playbacksession.h"
#include "browser/propertyall.h"
#include "browser/propertycontacts.h"
#include "browser/propertytags.h"
#include "browser/propertytasks.h"
#include "browser/recordfolderwatcher.h"
#include "browser/sessionplaybackcontrol.h"
#include "browser/showinfolder.h"
#include "controls/drawnicons.h"
#include "controls/theme.h"
#include "store/peakscache.h"
#include "store/settingsstore.h"

#include <QApplication>
#include <QListView>
#include <QLoggingCategory>
#include <QPalette>
#include <QResizeEvent>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>

namespace {
// The program's trace: the log file has its messages when one is open.
Q_LOGGING_CATEGORY(lcBrowser, "parlantographer.trace")
} // namespace

CFindRecordDlg::CFindRecordDlg(SContext context, QWidget* parent)
    : QDialog(parent), m_context(std::move(context)),
      m_session(std::make_unique<CPlaybackSession>(m_context.audio)), m_tabs(new QTabWidget(this))
{
    setWindowTitle(tr("Records"));
    setWindowIcon(DrawnIcons::AppIcon());
    QPalette colours = palette();
    colours.setColor(QPalette::Highlight, Theme::Accent());
    colours.setColor(QPalette::HighlightedText, Qt::white);
    setPalette(colours);
    if (m_context.settings)
        m_session->KeepSpeedIn(*m_context.settings);
    m_records = CRecordBrowser(m_context.records);
    if (!m_context.peaks) {
        m_ownPeaks = std::make_unique<CPeaksCache>(m_context.audio);
        m_context.peaks = m_ownPeaks.get();
    }
    m_services = std::make_unique<SPageServices>(SPageServices{
        m_context.audio, *m_session, *m_context.peaks, m_context.prompts, m_context.pim, m_records,
        [this] { RefreshRecords(); }, m_context.now, m_context.programFolder, m_context.settings,
        m_context.dataFolder, m_context.showInFolder});
    if (!m_services->showInFolder) {
        m_showInFolder = new CShowInFolder(m_context.bus, {}, this);
        m_services->showInFolder = [this](const QString& path) {
            m_showInFolder->Show(path);
        };
    }
    BuildMediaPlayer();

    m_all = new CPropertyAll(*m_services, m_tabs);
    m_tasks = new CPropertyTasks(*m_services, m_tabs);
    m_contacts = new CPropertyContacts(*m_services, m_tabs);
    m_tags = new CPropertyTags(*m_services, m_tabs);
    m_pages = {m_all, m_tasks, m_contacts, m_tags};
    m_tabs->addTab(m_all, tr("All"));
    m_tabs->addTab(m_tasks, tr("Tasks"));
    m_tabs->addTab(m_contacts, tr("Contacts"));
    m_tabs->addTab(m_tags, tr("Tags"));
    m_tabs->setDocumentMode(true);
    m_tabs->setStyleSheet(
        QStringLiteral("QTabBar::tab { padding: 6px 14px; color: %1; } QTabBar::tab:selected { "
                       "color: %2; border-bottom: 3px solid %2; font-weight: 600; }")
            .arg(Theme::ListText().name(), Theme::Ink(Theme::BackgroundTop()).name()));

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_tabs);

    // Only the page shown first is filled now, from the list just built; the others
    // fill when they are shown.
    m_all->Open();
    // The keys of the pages act on the record list that has the focus.
    m_all->RecordListWidget()->setFocus(Qt::OtherFocusReason);
    connect(m_tabs, &QTabWidget::currentChanged, this, &CFindRecordDlg::OnTabChanged);
    connect(m_tabs->tabBar(), &QTabBar::tabBarClicked, this, &CFindRecordDlg::OnTabClicked);
    if (m_context.recordFolders) {
        auto* watcher = new CRecordFolderWatcher(m_context.recordFolders, kSettleMs, this);
        connect(watcher, &CRecordFolderWatcher::Changed, this, &CFindRecordDlg::RefreshFromFolders);
        m_putOff = new QTimer(this);
        m_putOff->setSingleShot(true);
        m_putOff->setInterval(kSettleMs);
        connect(m_putOff, &QTimer::timeout, this, &CFindRecordDlg::RefreshFromFolders);
    }
    resize(480, 640);
}

void CFindRecordDlg::BuildMediaPlayer()
{
    if (!m_context.bus.isConnected())
        qCInfo(lcBrowser, "No session bus: the media keys do not reach the records browser");
    m_control =
        std::make_unique<CSessionPlaybackControl>(*m_session, [this](const QString& message) {
            m_context.prompts.Tell(EPromptIcon::Stop, tr("Exception"), message, this);
        });
    m_mpris = new CMprisService(*m_control, m_context.bus, this);
    m_mpris->SetRaiseHandler([this] {
        show();
        raise();
        activateWindow();
    });
    connect(m_session.get(), &CPlaybackSession::StateChanged, m_mpris, &CMprisService::Refresh);
    connect(m_session.get(), &CPlaybackSession::PositionJumped, m_mpris,
            &CMprisService::NotifySeeked);
}

CFindRecordDlg::~CFindRecordDlg()
{
    // The pages go while the playback and the services they use still exist; then the
    // playback ends.
    delete m_tabs;
    m_tabs = nullptr;
    m_pages = {};
    // The bus name goes before the playback it answers for.
    delete m_mpris;
    m_mpris = nullptr;
    m_session.reset();
}

CBrowserPage* CFindRecordDlg::Page(int index) const
{
    return index >= 0 && index < static_cast<int>(m_pages.size())
               ? m_pages[static_cast<std::size_t>(index)]
               : nullptr;
}

CBrowserPage* CFindRecordDlg::CurrentPage() const
{
    return Page(m_tabs->currentIndex());
}

void CFindRecordDlg::SelectTab(ETab tab)
{
    const int index = static_cast<int>(tab);
    if (m_tabs->currentIndex() == index)
        OnTabClicked(index);
    else
        m_tabs->setCurrentIndex(index);
}

void CFindRecordDlg::RefreshFromFolders()
{
    // An editor, a question or the rename dialog works on the records as they were read;
    // the refresh waits until it is closed.
    const QWidget* modal = QApplication::activeModalWidget();
    if (modal && modal != this && m_putOff) {
        m_putOff->start();
        return;
    }
    if (!RefreshRecords())
        return;
    if (CBrowserPage* page = CurrentPage())
        page->Reopen();
}

bool CFindRecordDlg::RefreshRecords()
{
    if (!m_context.recordFolders) {
        m_records = CRecordBrowser(m_context.rebuildRecords());
        return true;
    }
    return m_records.Refresh(m_context.recordFolders(), RecordReader::DecodersOf(m_context.audio))
        .Changed();
}

void CFindRecordDlg::OnTabChanged(int index)
{
    if (CBrowserPage* page = Page(index)) {
        page->SetWideLayout(width() >= kWideFrom);
        // The records were read when the browser opened and after each change it made;
        // reading ten thousand headers again would take longer than a tap should.
        page->Open();
        page->RecordListWidget()->setFocus(Qt::TabFocusReason);
    }
}

void CFindRecordDlg::OnTabClicked(int index)
{
    // A tap on the tab already shown refreshes its page; another tab changes the page,
    // which refreshes it there.
    if (index == m_tabs->currentIndex())
        OnTabChanged(index);
}

void CFindRecordDlg::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    const bool wide = event->size().width() >= kWideFrom;
    for (CBrowserPage* page : m_pages)
        page->SetWideLayout(wide);
}
