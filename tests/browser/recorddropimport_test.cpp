#include "audio/audioerror.h"
#include "browser/playbacksession.h"
#include "browser/recorddropimport.h"
#include "browsertestsupport.h"
#include "support/wavfile.h"

#include <QDir>
#include <QDropEvent>
#include <QListView>
#include <QMimeData>
#include <QUrl>
#include <cmath>

// A 44.1 kHz stereo WAV dropped from another program onto the list is asked about, becomes a
// record of the data folder of the same length, is listed and selected at once, and plays.
TEST_F(BrowserTest, ADroppedWavBecomesAPlayableRecordOfTheSameLength)
{
    Record("01032027_080000.wav", Info("", "", "", "Bo Chan"));
    Open();
    const QString dropped = home.path() + "/Interview.wav";
    testsupport::Bytes frames(44100 * 2 * 2 * 2); // two seconds, 16-bit stereo
    for (std::size_t i = 0; i < frames.size(); i += 2)
        frames[i + 1] = static_cast<std::uint8_t>((i / 200) % 2 ? 0x20 : 0xE0);
    testsupport::WriteFile(
        dropped.toStdString(),
        testsupport::WavFile(frames, {.channels = 2, .rate = 44100, .bits = 16}));
    // Dated by its modification time: the page's period lists it.
    QFile file(dropped);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    ASSERT_TRUE(file.setFileTime(now.addSecs(-600), QFileDevice::FileModificationTime));
    file.close();

    QMimeData mime;
    mime.setUrls({QUrl::fromLocalFile(dropped), QUrl(QStringLiteral("https://example.org/x.wav"))});
    QWidget* viewport = Page().RecordListWidget()->viewport();
    const QPointF at = viewport->rect().center();
    QDragEnterEvent enter(at.toPoint(), Qt::CopyAction, &mime, Qt::LeftButton, {});
    QApplication::sendEvent(viewport, &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(at, Qt::CopyAction, &mime, Qt::LeftButton, {});
    QApplication::sendEvent(viewport, &drop);

    ASSERT_EQ(prompts.asked.size(), 1);
    EXPECT_TRUE(prompts.asked[0].contains("Interview.wav")) << prompts.asked[0].toStdString();
    EXPECT_FALSE(prompts.asked[0].contains("x.wav\n"));
    EXPECT_TRUE(prompts.told.isEmpty()) << prompts.told.join('|').toStdString();
    const QStringList made = QDir(data).entryList(QDir::Files);
    ASSERT_EQ(made.size(), 2) << made.join(' ').toStdString();
    EXPECT_EQ(Page().ListedNames().size(), 2);
    EXPECT_NE(Page().SelectedName(), "01032027_080000.wav");

    QTest::keyClick(Page().RecordListWidget(), Qt::Key_Space);
    ASSERT_TRUE(browser->Session().IsPlaying()) << prompts.told.join('|').toStdString();
    EXPECT_LE(std::abs(static_cast<double>(browser->Session().TotalSamples()) - 2 * 8000), 80);
    browser->Session().Stop();
}
