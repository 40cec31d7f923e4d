#include "browser/playbackbar.h"

#include "controls/theme.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPalette>
#include <QSignalBlocker>
#include <QSlider>
#include <algorithm>
#include <limits>

namespace {
// The slider counts tenths of a second, so long records stay within its int range.
constexpr std::uint64_t kStepsPerSecond = 10;
} // namespace

CPlaybackBar::CPlaybackBar(QWidget* parent)
    : QWidget(parent), m_elapsed(new QLabel(this)), m_slider(new QSlider(Qt::Horizontal, this)),
      m_total(new QLabel(this))
{
    m_slider->setObjectName(QStringLiteral("position"));
    m_slider->setTracking(false);
    QPalette colours = m_slider->palette();
    colours.setColor(QPalette::Highlight, Theme::Accent());
    m_slider->setPalette(colours);
    m_elapsed->setObjectName(QStringLiteral("elapsed"));
    m_total->setObjectName(QStringLiteral("total"));
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_elapsed);
    layout->addWidget(m_slider, 1);
    layout->addWidget(m_total);
    connect(m_slider, &QSlider::sliderReleased, this, &CPlaybackBar::OnSliderReleased);
    // A click on the groove or a key moves the slider without a drag.
    connect(m_slider, &QSlider::actionTriggered, this, [this](int action) {
        if (action != QAbstractSlider::SliderMove)
            QMetaObject::invokeMethod(this, &CPlaybackBar::OnSliderReleased, Qt::QueuedConnection);
    });
    Reset();
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
