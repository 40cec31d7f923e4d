#include "browser/recordmimedata.h"

#include <QDir>
#include <QUrl>
#include <gtest/gtest.h>

// File managers paste only the exact "copy" form, one URL a line with no line feed after the
// last; the URLs are encoded, so a name with spaces or "#" stays one file.
TEST(RecordMimeData, CarriesTheFilesInEveryFormTheirReadersExpect)
{
    const auto data = RecordMimeData::ForFiles(
        {QStringLiteral("/memos/Call with Ann #2.wav"), QStringLiteral("memo.ogg")});
    const QString relative = QDir::currentPath() + QStringLiteral("/memo.ogg");
    EXPECT_EQ(data->urls(), (QList<QUrl>{QUrl::fromLocalFile("/memos/Call with Ann #2.wav"),
                                         QUrl::fromLocalFile(relative)}));
    EXPECT_EQ(data->data(QStringLiteral("x-special/gnome-copied-files")),
              "copy\nfile:///memos/Call%20with%20Ann%20%232.wav\n" +
                  QUrl::fromLocalFile(relative).toEncoded());
    EXPECT_EQ(data->text(), "/memos/Call with Ann #2.wav\n" + relative);
}
