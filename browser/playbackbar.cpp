#include "browser/playbackbar.h"

#include "browser/positionslider.h"
#include "controls/drawnicons.h"
#include "controls/theme.h"
#include "store/settingsstore.h"

#include <QAction>
#include <QActionGroup>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QPalette>
#include <QSignalBlocker>
#include <QToolButton>
#include <algorithm>
#include <cmath>
#include <limits>

namespace {
// The slider counts hundredths of a second: a click lands within a pixel's worth of the
// record, and a day-long record stays within its int range.
constexpr std::uint64_t kStepsPerSecond = 100;
} // namespace

CPlaybackBar::CPlaybackBar(QWidget* parent)
    : QWidget(parent), m_elapsed(new QLabel(this)), m_slider(new CPositionSlider(this)),
      m_total(new QLabel(this)), m_back(new QToolButton(this)), m_forward(new QToolButton(this)),
      m_speed(new QToolButton(this))
{
    m_slider->setObjectName(QStringLiteral("position"));
    m_slider->setTracking(false);
    m_slider->setSingleStep(static_cast<int>(kStepsPerSecond));
    m_slider->setPageStep(static_cast<int>(kSkipSeconds * kStepsPerSecond));
    QPalette colours = m_slider->palette();
    colours.setColor(QPalette::Highlight, Theme::Accent());
    m_slider->setPalette(colours);
    m_elapsed->setObjectName(QStringLiteral("elapsed"));
    m_total->setObjectName(QStringLiteral("total"));

    // Drawn in the program's green: the styles' own media icons are faint outlines.
    const QColor behind = Theme::Palette(QPalette::Window);
    m_backAction = new QAction(DrawnIcons::Drawn(DrawnIcons::EGlyph::SkipBack, behind),
                               tr("Back %1 s").arg(kSkipSeconds), this);
    m_backAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Left));
    m_forwardAction = new QAction(DrawnIcons::Drawn(DrawnIcons::EGlyph::SkipForward, behind),
                                  tr("Forward %1 s").arg(kSkipSeconds), this);
    m_forwardAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Right));
    m_slowerAction = new QAction(tr("Slower"), this);
    m_slowerAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_BracketLeft));
    m_fasterAction = new QAction(tr("Faster"), this);
    m_fasterAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_BracketRight));
    for (QAction* action : Actions())
        action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    connect(m_backAction, &QAction::triggered, this, [this] { emit SkipRequested(-kSkipSeconds); });
    connect(m_forwardAction, &QAction::triggered, this,
            [this] { emit SkipRequested(kSkipSeconds); });
    connect(m_slowerAction, &QAction::triggered, this, [this] { StepSpeed(-1); });
    connect(m_fasterAction, &QAction::triggered, this, [this] { StepSpeed(1); });

    const auto toolButton = [](QToolButton* button, QAction* action, const QString& name) {
        button->setObjectName(name);
        button->setDefaultAction(action);
        button->setToolButtonStyle(Qt::ToolButtonIconOnly);
        button->setAutoRaise(true);
        button->setFocusPolicy(Qt::TabFocus);
        button->setToolTip(action->text() + QStringLiteral(" (") +
                           action->shortcut().toString(QKeySequence::NativeText) +
                           QStringLiteral(")"));
    };
    toolButton(m_back, m_backAction, QStringLiteral("back"));
    toolButton(m_forward, m_forwardAction, QStringLiteral("forward"));
    BuildSpeedMenu();

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(4);
    layout->addWidget(m_back);
    layout->addWidget(m_elapsed);
    layout->addWidget(m_slider, 1);
    layout->addWidget(m_total);
    layout->addWidget(m_forward);
    layout->addWidget(m_speed);
    connect(m_slider, &QSlider::sliderReleased, this, &CPlaybackBar::OnSliderReleased);
    // A key moves the slider without a drag.
    connect(m_slider, &QSlider::actionTriggered, this, [this](int action) {
        if (action != QAbstractSlider::SliderMove)
            QMetaObject::invokeMethod(this, &CPlaybackBar::OnSliderReleased, Qt::QueuedConnection);
    });
    Reset();
}

void CPlaybackBar::BuildSpeedMenu()
{
    auto* menu = new QMenu(m_speed);
    menu->addAction(m_backAction);
    menu->addAction(m_forwardAction);
    menu->addSeparator();
    menu->addAction(m_slowerAction);
    menu->addAction(m_fasterAction);
    menu->addSeparator();
    m_speeds = new QActionGroup(this);
    for (const double speed : CSettingsStore::kPlaybackSpeeds) {
        QAction* action = menu->addAction(SpeedText(speed));
        action->setCheckable(true);
        action->setData(speed);
        m_speeds->addAction(action);
        connect(action, &QAction::triggered, this, [this, speed] { emit SpeedRequested(speed); });
    }
    m_speed->setObjectName(QStringLiteral("speed"));
    m_speed->setMenu(menu);
    m_speed->setPopupMode(QToolButton::InstantPopup);
    m_speed->setAutoRaise(true);
    m_speed->setFocusPolicy(Qt::TabFocus);
    m_speed->setToolTip(tr("Playback speed"));
    m_speed->setAccessibleName(tr("Playback speed"));
    SetSpeed(1.0);
}

QList<QAction*> CPlaybackBar::Actions() const
{
    return {m_backAction, m_forwardAction, m_slowerAction, m_fasterAction};
}

QSlider* CPlaybackBar::Slider() const
{
    return m_slider;
}

QString CPlaybackBar::SpeedText(double speed)
{
    return QString::number(speed) + QChar(0x00D7);
}

void CPlaybackBar::SetSpeed(double speed)
{
    m_chosenSpeed = speed;
    m_speed->setText(SpeedText(speed));
    for (QAction* action : m_speeds->actions())
        action->setChecked(std::abs(action->data().toDouble() - speed) < 1e-6);
    const auto& speeds = CSettingsStore::kPlaybackSpeeds;
    m_slowerAction->setEnabled(speed > speeds.front() + 1e-6);
    m_fasterAction->setEnabled(speed < speeds.back() - 1e-6);
}

void CPlaybackBar::SetPlaying(bool playing)
{
    for (QWidget* part : {static_cast<QWidget*>(m_slider), static_cast<QWidget*>(m_elapsed),
                          static_cast<QWidget*>(m_total)})
        part->setEnabled(playing);
    m_backAction->setEnabled(playing);
    m_forwardAction->setEnabled(playing);
    if (!playing)
        Reset();
}

void CPlaybackBar::StepSpeed(int steps)
{
    const auto& speeds = CSettingsStore::kPlaybackSpeeds;
    // The nearest offered speed, then as many steps on as asked, within the offer.
    const auto nearest = std::min_element(speeds.begin(), speeds.end(), [this](double a, double b) {
        return std::abs(a - m_chosenSpeed) < std::abs(b - m_chosenSpeed);
    });
    const auto at = std::clamp<std::ptrdiff_t>((nearest - speeds.begin()) + steps, 0,
                                               static_cast<std::ptrdiff_t>(speeds.size()) - 1);
    if (speeds[static_cast<std::size_t>(at)] != m_chosenSpeed)
        emit SpeedRequested(speeds[static_cast<std::size_t>(at)]);
}

QString CPlaybackBar::FormatTime(std::uint64_t samples, std::uint32_t sampleRate)
{
    const std::uint64_t seconds = sampleRate == 0 ? 0 : samples / sampleRate;
    const std::uint64_t hours = seconds / 3600;
    const std::uint64_t minutes = seconds / 60 % 60;
    const auto two = [](std::uint64_t value) {
        return QStringLiteral("%1").arg(value, 2, 10, QLatin1Char('0'));
    };
    if (hours > 0)
        return QStringLiteral("%1:%2:%3").arg(hours).arg(two(minutes), two(seconds % 60));
    return QStringLiteral("%1:%2").arg(minutes).arg(two(seconds % 60));
}

void CPlaybackBar::SetProgress(std::uint64_t elapsedSamples, std::uint64_t totalSamples,
                               std::uint32_t sampleRate)
{
    if (m_slider->isSliderDown())
        return;
    m_sampleRate = sampleRate == 0 ? 8000 : sampleRate;
    const auto steps = [this](std::uint64_t samples) {
        return static_cast<int>(std::min<std::uint64_t>(samples * kStepsPerSecond / m_sampleRate,
                                                        std::numeric_limits<int>::max()));
    };
    const QSignalBlocker block(m_slider);
    m_slider->setEnabled(totalSamples > 0);
    m_slider->setRange(0, steps(totalSamples));
    m_slider->setValue(steps(elapsedSamples));
    m_elapsed->setText(FormatTime(elapsedSamples, m_sampleRate));
    // The length is shown rounded, as everywhere a record's length is shown; a Speex
    // record's count leaves out the codec's few milliseconds of look-ahead.
    m_total->setText(FormatTime(totalSamples + m_sampleRate / 2, m_sampleRate));
}

void CPlaybackBar::Reset()
{
    SetProgress(0, 0, m_sampleRate);
}

QString CPlaybackBar::ElapsedText() const
{
    return m_elapsed->text();
}

QString CPlaybackBar::TotalText() const
{
    return m_total->text();
}

void CPlaybackBar::OnSliderReleased()
{
    if (!m_slider->isEnabled())
        return;
    const auto value = static_cast<std::uint64_t>(std::max(0, m_slider->sliderPosition()));
    emit SeekRequested(value * m_sampleRate / kStepsPerSecond);
}
