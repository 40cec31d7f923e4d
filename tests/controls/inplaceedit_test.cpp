#include "controls/inplaceedit.h"

#include <gtest/gtest.h>

namespace {

TEST(InPlaceEdit, TruncatesByBytesWithoutSplittingACharacter)
{
    EXPECT_EQ(CInPlaceEdit::TruncateToBytes("abc", 25), "abc");
    // 12 two-byte letters are 24 bytes; the 13th would split at byte 25.
    EXPECT_EQ(CInPlaceEdit::TruncateToBytes(QString(13, QChar(0x00E4)), 25),
              QString(12, QChar(0x00E4)));
    const QString emoji = QString::fromUtf8("\xF0\x9F\x8E\xA4");
    EXPECT_EQ(CInPlaceEdit::TruncateToBytes("x" + emoji + "y", 4), "x");
    EXPECT_EQ(CInPlaceEdit::TruncateToBytes("x" + emoji + "y", 5), "x" + emoji);
}

} // namespace
