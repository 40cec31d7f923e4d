#include "store/recorddate.h"
#include "store/recordorder.h"
#include "support/qtsupport.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

TEST(RecordDate, ReadsOnlyRealMomentsFromRecordNames)
{
    for (const auto& [name, expected, variant] :
         std::initializer_list<std::tuple<const char*, QDateTime, int>>{
             {"01012027_000000.wav", QDateTime(QDate(2027, 1, 1), QTime(0, 0)), 1},
             {"12312026_235959_2.ogg", QDateTime(QDate(2026, 12, 31), QTime(23, 59, 59)), 2},
             {"02292028_071530", QDateTime(QDate(2028, 2, 29), QTime(7, 15, 30)), 1}}) {
        EXPECT_EQ(RecordDate::FromFileName(name), expected) << name;
        EXPECT_EQ(RecordDate::VariantOfFileName(name), variant) << name;
    }
    // No 29 February in 2027; the first record carries no variant, the others no leading zero.
    for (const char* name : {"02292027_071530.wav", "13012027_000000.wav", "01012027_240000.wav",
                             "01012027_000000_1.wav", "01012027_000000_02.wav",
                             "01012027_000000x.wav", "x01012027_000000.wav", "Meeting.wav"}) {
        EXPECT_FALSE(RecordDate::FromFileName(name)) << name;
        EXPECT_EQ(RecordDate::VariantOfFileName(name), 0) << name;
    }
}

TEST(RecordDate, TakesTheNameBeforeTheModificationTime)
{
    QTemporaryDir dir;
    const QString named = dir.path() + "/06012026_080000.wav";
    const QString renamed = dir.path() + "/Meeting.wav";
    ASSERT_TRUE(WriteAll(named, Wav(kMarkedInfo))); // re-tagged just now
    ASSERT_TRUE(WriteAll(renamed, Wav(kMarkedInfo)));
    const QDateTime march(QDate(2026, 3, 4), QTime(5, 6, 7));
    QFile file(renamed);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    ASSERT_TRUE(file.setFileTime(march, QFileDevice::FileModificationTime));
    file.close();

    EXPECT_EQ(RecordDate::OfRecord(named), QDateTime(QDate(2026, 6, 1), QTime(8, 0)));
    EXPECT_EQ(RecordDate::OfRecord(renamed), march);
    EXPECT_FALSE(RecordDate::OfRecord(dir.path() + "/gone.wav").isValid());
}

TEST(RecordOrder, SortsNamedRecordsChronologicallyThenOthersByName)
{
    QStringList names{"zeta.wav",
                      "01012027_000000.wav",
                      "12312026_235959.ogg",
                      "Alpha.wav",
                      "01012027_000000_2.ogg",
                      "alpha.wav",
                      "06152025_120000.wav",
                      "01012027_000000_10.wav"};
    RecordOrder::Sort(names);
    EXPECT_EQ(names, (QStringList{"06152025_120000.wav", "12312026_235959.ogg",
                                  "01012027_000000.wav", "01012027_000000_2.ogg",
                                  "01012027_000000_10.wav", "Alpha.wav", "alpha.wav", "zeta.wav"}));
    EXPECT_TRUE(RecordOrder::Less("12312026_235959.wav", "01012027_000000.wav"));
    EXPECT_FALSE(RecordOrder::Less("a.wav", "a.wav"));
}

} // namespace
