#include "controls/waveformview.h"

#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

namespace {

// A loud record of `buckets` stretches: every column reaches both extremes.
std::shared_ptr<const SWaveformPeaks> Loud(std::size_t buckets)
{
    auto peaks = std::make_shared<SWaveformPeaks>();
    peaks->buckets.assign(buckets, {0x00, 0xFF});
    peaks->totalSamples = buckets * SWaveformPeaks::kBucketSamples;
    return peaks;
}

// The widget's plot is inset by 3 pixels; 200 columns show the record.
class WaveformViewTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        view.resize(206, 48);
        view.SetPeaks(Loud(1000));
        view.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
    }
    QPoint Column(int column) const { return {3 + column, view.height() / 2}; }
    std::uint64_t Total() const { return view.Peaks()->totalSamples; }

    CWaveformView view;
};

TEST_F(WaveformViewTest, ThePlayedPartHasItsOwnInkUpToTheHead)
{
    const QImage before = view.grab().toImage();
    view.SetPlayhead(Total() / 2);
    const QImage image = view.grab().toImage();
    const QColor played = image.pixelColor(Column(50) + QPoint(0, -10));
    const QColor ahead = image.pixelColor(Column(150) + QPoint(0, -10));
    EXPECT_NE(played, ahead);
    EXPECT_GT(played.green(), played.red() + 30) << "the program's green";
    EXPECT_EQ(ahead, before.pixelColor(Column(150) + QPoint(0, -10)));
    EXPECT_EQ(before.pixelColor(Column(50) + QPoint(0, -10)), ahead) << "nothing played yet";
}

// The head follows a drag, and only the release seeks, to the sample under it; a click
// outside the plot stays within the record, and one before the peaks are known (which would
// take the playback back to the start) does nothing.
TEST_F(WaveformViewTest, ADragMovesTheHeadAndTheReleaseSeeksThere)
{
    QSignalSpy seeks(&view, &CWaveformView::SeekRequested);
    view.SetPeaks(nullptr);
    QTest::mouseClick(&view, Qt::LeftButton, {}, Column(100));
    EXPECT_TRUE(seeks.isEmpty());
    view.SetPeaks(Loud(1000));

    QTest::mousePress(&view, Qt::LeftButton, {}, Column(20));
    QTest::mouseMove(&view, Column(150));
    EXPECT_EQ(view.Playhead(), Total() * 150 / 200);
    EXPECT_TRUE(seeks.isEmpty());
    QTest::mouseRelease(&view, Qt::LeftButton, {}, Column(150));
    ASSERT_EQ(seeks.size(), 1);
    EXPECT_EQ(seeks[0][0].value<std::uint64_t>(), Total() * 150 / 200);
    EXPECT_EQ(view.Playhead(), std::nullopt);

    QTest::mouseClick(&view, Qt::LeftButton, {}, QPoint(view.width() - 1, 10));
    EXPECT_EQ(seeks.last()[0].value<std::uint64_t>(), Total());
    EXPECT_EQ(CWaveformView::ColumnOf(Total(), 200, Total()), 199);
}

} // namespace
