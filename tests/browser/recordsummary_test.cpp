#include "browser/recordsummary.h"
#include "support/darkpalette.h"

#include <QTest>
#include <gtest/gtest.h>

namespace {

// The labels ("Task: ") are drawn in the program's green, made readable on a dark base too.
TEST(RecordSummary, LabelsStayReadableOnADarkPalette)
{
    const CDarkPalette dark;
    CRecordSummary summary;
    summary.ShowRecord({}); // labels only: every value is empty
    summary.resize(240, 120);
    summary.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&summary));
    const QImage image = summary.grab().toImage();
    EXPECT_GE(InkContrast(image, image.rect().adjusted(4, 4, -4, -4)), 4.5);
}

} // namespace
