#include "exchange/exporttags.h"

#include <QTimeZone>
#include <gtest/gtest.h>

// The comment reads as the browser's summary does; a date west of UTC by a half hour keeps its
// sign and its minutes; MP3 gets Latin-1 and the year, and a first line long enough that the
// encoder writes the ID3v2 tag every reader decodes alike.
TEST(ExportTags, TheCommentIsReadableAndMp3KeepsWhatLatin1Holds)
{
    const QString block = QStringLiteral("*ParlantographerInfo*\n[[Tags]]\n[Priority]\nImportant\n"
                                         "[Place]\n Office \nCafé\n\n[[Tasks]]\nCall Zoë\n"
                                         "[[Contacts]]\nЖанна\nBob\n");
    const QDateTime recorded(QDate(2024, 3, 5), QTime(10, 11, 12), QTimeZone(-12600));
    const ExportTags::STags tags = ExportTags::Compose(QStringLiteral("Call Zoë"), recorded, block);
    EXPECT_EQ(tags.title, "Call Zoë");
    EXPECT_EQ(tags.date, "2024-03-05T10:11:12-03:30");
    EXPECT_EQ(tags.comment, "Recorded: 2024-03-05 10:11:12 -03:30\nTask: Call Zoë\n"
                            "Contacts: Жанна, Bob\nPriority: Important\nPlace: Office, Café");

    const ExportTags::STags empty = ExportTags::Compose(
        QStringLiteral("x"), recorded.toTimeZone(QTimeZone::utc()),
        QStringLiteral("*ParlantographerInfo*\n[[Tags]]\n[[Tasks]]\n[[Contacts]]\n"));
    EXPECT_EQ(empty.comment, "Recorded: 2024-03-05 13:41:12 +00:00");

    const ExportTags::STags mp3 = ExportTags::ForMp3(tags);
    EXPECT_EQ(mp3.date, "2024");
    EXPECT_TRUE(mp3.comment.contains(QStringLiteral("Contacts: ?????, Bob")));
    EXPECT_TRUE(mp3.comment.contains(QStringLiteral("Café")));
    EXPECT_GT(ExportTags::ForMp3(empty).comment.size(), 30);
}
