#include "audio/audiomanager.h"
#include "audio/tagger.h"
#include "platform/wavebackend.h"
#include "store/recordbrowser.h"
#include "store/recordstream.h"
#include "support/qtsupport.h"

#include <QTemporaryDir>
#include <fstream>
#include <gtest/gtest.h>

namespace {

QByteArray Info(const QString& contact)
{
    return "*ParlantographerInfo*\n[[Tags]]\n[[Tasks]]\n[[Contacts]]\n" + contact.toUtf8() + "\n";
}

// The records handed over one at a time come in the browser's order and are narrowed as the
// browser narrows them, over more records than are read at a time, names whose bytes sort
// otherwise than their dates, two folders holding the same name, a name that is not UTF-8 and
// files that are no records.
TEST(RecordStream, HandsOverWhatTheBrowserListsInItsOrder)
{
    QTemporaryDir dir;
    const QString data = dir.path() + "/Data/", card = dir.path() + "/Card/";
    std::uint32_t seed = 7;
    for (int i = 0; i < 700; ++i) {
        seed = seed * 1664525u + 1013904223u;
        const QDate day = QDate(2025, 1, 1).addDays((seed >> 8) % 800);
        const QString name =
            i % 50 == 0 ? QStringLiteral("Memo %1.wav").arg(i)
                        : day.toString("MMddyyyy") + QStringLiteral("_%1.wav").arg(100000 + i);
        const QByteArray info = Info(i % 3 ? "Ann Lee" : "Bo Chan");
        ASSERT_TRUE(WriteAll((i % 7 ? data : card) + name, Wav(info, 80 * (i % 5))));
    }
    ASSERT_TRUE(WriteAll(card + "Memo 50.wav", Wav(Info("Ann Lee"))));
    ASSERT_TRUE(WriteAll(data + "notes.txt", "no record"));
    ASSERT_TRUE(WriteAll(data + "plain.wav", Wav(std::nullopt)));
    std::ofstream(Native(data) / "Memo\xff.wav", std::ios::binary)
        << ReadAll(card + "Memo 0.wav").toStdString();

    CAudioManager audio;
    const QStringList folders{data, card};
    const CRecordBrowser browser(BuildRecordList(folders, audio.GetTagger()));
    ASSERT_EQ(browser.Count(), 702);
    SRecordQuery all, annThisYear;
    annThisYear.contacts = {"ann lee"};
    annThisYear.period = Period::EPeriod::Custom;
    annThisYear.custom = Period::SDayRange{QDate(2026, 1, 1), QDate(2026, 12, 31)};
    for (const SRecordQuery& query : {all, annThisYear}) {
        std::vector<std::filesystem::path> expected;
        for (const int i : browser.Records(query))
            expected.push_back(browser.Record(i).path);
        for (const auto length :
             {RecordStream::ELength::WhereTheDateNeedsIt, RecordStream::ELength::Always}) {
            std::vector<std::filesystem::path> streamed;
            RecordStream::Each(folders, query, length, RecordReader::DecodersOf(audio),
                               [&](const SBrowsedRecord& record) {
                                   streamed.push_back(record.path);
                                   const SBrowsedRecord& listed =
                                       browser.Record(browser.IndexOfPath(record.path));
                                   EXPECT_EQ(record.recorded, listed.recorded);
                                   if (length == RecordStream::ELength::Always) {
                                       EXPECT_EQ(record.samples, listed.samples);
                                   }
                               });
            EXPECT_EQ(streamed, expected);
        }
    }
}

} // namespace
