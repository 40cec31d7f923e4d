#include "app/recordbutton.h"

#include "app/logger.h"
#include "audio/timeleft.h"
#include "controls/glyphbutton.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <chrono>

CRecordButton::CRecordButton(QWidget* parent)
    : QWidget(parent), m_pauseButton(new CGlyphButton(DrawnIcons::EGlyph::Pause, this))
{
    m_pauseButton->hide();
    m_pauseButton->setFocusPolicy(Qt::NoFocus); // Ctrl+P does it from anywhere
    connect(m_pauseButton, &CGlyphButton::clicked, this, &CRecordButton::PauseCommand);
    setFocusPolicy(Qt::StrongFocus);
    setCursor(Qt::PointingHandCursor);
    setAccessibleName(tr("Record"));
    m_timer.setInterval(kTickMs);
    connect(&m_timer, &QTimer::timeout, this, &CRecordButton::Tick);
    m_levelTimer.setInterval(kLevelMs);
    connect(&m_levelTimer, &QTimer::timeout, this, &CRecordButton::LevelTick);
}

std::int64_t CRecordButton::Now() const
{
    if (m_clock)
        return m_clock();
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

void CRecordButton::SetScale(int scale)
{
    m_face.scale = scale;
    m_pauseButton->setGeometry(RecordButtonFace::PauseButtonRect(rect(), scale));
    update();
}

void CRecordButton::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    m_pauseButton->setGeometry(RecordButtonFace::PauseButtonRect(rect(), m_face.scale));
}

void CRecordButton::SetTrailProvider(std::size_t windows, Trail trail)
{
    m_face.trailWindows = windows;
    m_trail = std::move(trail);
}

QString CRecordButton::PausedText()
{
    return tr("Paused");
}

void CRecordButton::SetPaused(bool paused)
{
    m_face.paused = paused;
    m_face.caption = paused ? PausedText() : QString();
    m_pauseButton->SetGlyph(paused ? DrawnIcons::EGlyph::Record : DrawnIcons::EGlyph::Pause);
    const QString action = paused ? tr("Resume recording") : tr("Pause recording");
    m_pauseButton->setAccessibleName(action);
    m_pauseButton->setToolTip(action + QStringLiteral(" (Ctrl+P)"));
    setAccessibleDescription(paused ? PausedText() : m_face.hint);
    update();
}

std::uint32_t CRecordButton::FreeSpaceInSeconds() const
{
    return TimeLeft::FreeSpaceInSeconds(FreeBytesOfStorage(), m_rate ? m_rate() : 0);
}

void CRecordButton::ResetProgress()
{
    m_startTick = Now();
    m_secondsLeftAtStart = m_secondsLeft + m_elapsed;
    m_rangeHigh = qMax<std::int64_t>(0, m_secondsLeft);
    m_position = 0;
    m_face.progress = 0;
    update();
}

void CRecordButton::OnStartRecord()
{
    CLogger log("CRecordButton::OnStartRecord");
    m_face.image = RecordButtonFace::EImage::Recording;
    m_secondsLeft = FreeSpaceInSeconds();
    m_secondsLeftAtStart = m_secondsLeft;
    m_elapsed = 0;
    m_startTick = Now();
    m_rangeHigh = m_secondsLeft;
    m_position = 0;
    m_face.progress = 0;
    m_face.showProgress = true;
    m_face.timeText = QString::fromStdString(TimeLeft::FormatUpdateText(0, m_secondsLeft));
    setAccessibleName(tr("Stop recording"));
    m_face.hint.clear();
    m_face.level = m_levelProvider ? 0.0 : -1.0;
    m_soundSeen = m_startTick;
    m_face.trail.clear();
    SetPaused(false);
    m_pauseButton->show();
    m_timer.start();
    if (m_levelProvider || m_trail)
        m_levelTimer.start();
    update();
}

void CRecordButton::OnStopRecord()
{
    CLogger log("CRecordButton::OnStopRecord");
    m_timer.stop();
    m_levelTimer.stop();
    m_face.level = -1.0;
    m_face.hint.clear();
    m_face.image = RecordButtonFace::EImage::Idle;
    m_face.showProgress = false;
    m_face.timeText.clear();
    m_face.trail.clear();
    SetPaused(false);
    m_pauseButton->hide();
    setAccessibleName(tr("Record"));
    update();
}

void CRecordButton::Tick()
{
    CLogger log("CRecordButton::Tick");
    m_elapsed = m_elapsedProvider ? m_elapsedProvider()
                                  : qMax<std::int64_t>(0, (Now() - m_startTick) / 1000);
    m_secondsLeft = m_secondsLeftAtStart - m_elapsed;
    m_face.timeText = QString::fromStdString(TimeLeft::FormatUpdateText(m_elapsed, m_secondsLeft));
    ConfigureProgress();
    update();
    emit Refreshed();
}

void CRecordButton::LevelTick()
{
    if (m_trail && !m_face.paused)
        m_face.trail = m_trail(m_face.trailWindows);
    if (!m_levelProvider) {
        update();
        return;
    }
    m_face.level = qBound(0.0, m_levelProvider(), 1.0);
    const std::int64_t now = Now();
    if (m_face.level >= kSilence)
        m_soundSeen = now;
    QString hint;
    if (now - m_soundSeen < kSilenceHintMs) {
        hint.clear();
    } else if (!m_face.hint.isEmpty()) {
        hint = m_face.hint; // asking for the device's name once per silence is enough
    } else {
        const QString device = m_deviceText ? m_deviceText() : QString();
        hint = device.isEmpty() ? tr("No sound from the input device")
                                : tr("No sound from %1").arg(device);
    }
    if (hint != m_face.hint) {
        m_face.hint = hint;
        setAccessibleDescription(hint);
    }
    update();
}

void CRecordButton::ConfigureProgress()
{
    CLogger log("CRecordButton::ConfigureProgress");
    // The bar counts in 64-bit seconds: a large storage (more than 65,535 s left) does
    // not wrap, and a time left that ran below zero shows a full bar, not a bogus range.
    m_rangeHigh = qMax<std::int64_t>(0, m_secondsLeft);
    m_position = m_elapsed;
    log.Write("range Lo %d, Hi %lld", 0, static_cast<long long>(m_rangeHigh));
    if (m_rangeHigh <= 0)
        m_face.progress = 1.0;
    else
        m_face.progress =
            qMin(1.0, static_cast<double>(m_position) / static_cast<double>(m_rangeHigh));
}

void CRecordButton::Tap()
{
    const std::int64_t now = Now();
    if (m_tapped && now - m_lastTap < kGuardMs)
        return;
    m_tapped = true;
    m_lastTap = now;
    emit RecordCommand();
}

QSize CRecordButton::sizeHint() const
{
    return {220, 140};
}

QSize CRecordButton::minimumSizeHint() const
{
    return {80, 60};
}

void CRecordButton::paintEvent(QPaintEvent*)
{
    CLogger log("CRecordButton::paintEvent");
    QPainter painter(this);
    RecordButtonFace::SFace face = m_face;
    face.enabled = isEnabled();
    face.focused = hasFocus() && m_keyboardFocus;
    RecordButtonFace::Paint(painter, rect(), face);
}

void CRecordButton::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    m_face.pressed = true;
    update();
    Tap();
}

void CRecordButton::mouseReleaseEvent(QMouseEvent*)
{
    m_face.pressed = false;
    update();
}

void CRecordButton::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Space || event->key() == Qt::Key_Return ||
        event->key() == Qt::Key_Enter || event->key() == Qt::Key_Select) {
        Tap();
        return;
    }
    QWidget::keyPressEvent(event);
}

void CRecordButton::focusInEvent(QFocusEvent* event)
{
    QWidget::focusInEvent(event);
    // The dashed frame marks keyboard navigation only; a click or the window's own
    // start-up focus would otherwise leave it on screen for no reason.
    const Qt::FocusReason reason = event->reason();
    m_keyboardFocus = reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason ||
                      reason == Qt::ShortcutFocusReason;
    update();
}

void CRecordButton::focusOutEvent(QFocusEvent* event)
{
    QWidget::focusOutEvent(event);
    m_keyboardFocus = false;
    update();
}

void CRecordButton::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::EnabledChange)
        update();
}
