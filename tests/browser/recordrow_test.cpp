#include "browser/recordrow.h"
#include "store/recordbrowser.h"
#include "support/qtsupport.h"

#include <gtest/gtest.h>

namespace {

SBrowsedRecord Memo(const QString& fileName, std::optional<std::uint64_t> samples = {})
{
    SBrowsedRecord record;
    record.fileName = fileName;
    record.samples = samples;
    return record;
}

} // namespace

// Renaming is how a user titles a memo: the row shows the title, not the format's suffix.
TEST(RecordRow, NamesTheMemoByItsTitle)
{
    EXPECT_EQ(RecordRow::Of(Memo("01042027_080000.wav")).name, "01042027_080000");
    EXPECT_EQ(RecordRow::Of(Memo("Call 1.5 with Ann.ogg")).name, "Call 1.5 with Ann");
    EXPECT_EQ(RecordRow::Of(Memo(".ogg")).name, ".ogg");
}

// The row and the playback bar's total agree, past a minute and past an hour; a length the
// list did not read is left out rather than shown as nothing recorded.
TEST(RecordRow, GivesTheLengthAsThePlaybackBarDoes)
{
    EXPECT_EQ(RecordRow::Of(Memo("a.wav", 0)).length, "0:00");
    EXPECT_EQ(RecordRow::Of(Memo("a.wav", 4 * 8000 + 4000)).length, "0:05");
    EXPECT_EQ(RecordRow::Of(Memo("a.wav", 754 * 8000)).length, "12:34");
    EXPECT_EQ(RecordRow::Of(Memo("a.wav", 3725 * 8000)).length, "1:02:05");
    EXPECT_EQ(RecordRow::Of(Memo("a.wav")).length, "");
}

TEST(RecordRow, DatesInTheUsersLocaleAndListsTaskContactsAndTags)
{
    SBrowsedRecord record = Memo("a.wav");
    EXPECT_EQ(RecordRow::Of(record).recorded, "");
    EXPECT_EQ(RecordRow::Of(record).details, "");

    record.recorded = QDateTime(QDate(2027, 1, 4), QTime(8, 5));
    EXPECT_EQ(RecordRow::Of(record, QLocale(QLocale::German, QLocale::Germany)).recorded,
              "04.01.27 08:05");

    record.contacts = QStringList{"Ann Lee", "Bo Chan"};
    EXPECT_EQ(RecordRow::Of(record).details, "Ann Lee, Bo Chan");
    record.task = "Call back";
    record.tags = {{"Priority", "Important"}, {"Place", "Office"}};
    EXPECT_EQ(RecordRow::Of(record).details, u"Call back \u00B7 Ann Lee, Bo Chan \u00B7 "
                                             u"Important, Office"_qs);
}
