#include "controls/glyphbutton.h"
#include "controls/headerbutton.h"
#include "controls/inplaceedit.h"
#include "controls/slotlist.h"
#include "controls/slotlistview.h"
#include "support/darkpalette.h"
#include "support/tap.h"

#include <QListWidget>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <array>
#include <gtest/gtest.h>
#include <vector>

namespace {

using L = QStringList;

class SlotList : public ::testing::Test
{
protected:
    void Fill(const QString& kind, const QStringList& items)
    {
        slot.SetKind(kind);
        for (const QString& item : items)
            slot.AddItemIfAbsent(item);
        slot.resize(240, 100);
        slot.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&slot));
    }

    CSlotList slot;
};

// Which kinds hold one choice is the slot kind's rule; here, one kind of each.
TEST_F(SlotList, TapsToggleSingleChoiceSlotsHoldOneAndClearDeselectsAll)
{
    const std::vector<std::pair<const char*, std::array<L, 2>>> cases{
        {"Priority", {L{"One", "Two"}, L{"One"}}},
        {"Task", {L{"Two"}, L{}}},
    };
    for (const auto& [kind, expected] : cases) {
        slot.ClearItems();
        Fill(kind, L{"One", "Two", "Three"});
        TapRow(slot.ListView(), 0);
        TapRow(slot.ListView(), 1);
        EXPECT_EQ(slot.SelectedItems(), expected[0]) << kind;
        TapRow(slot.ListView(), 1);
        EXPECT_EQ(slot.SelectedItems(), expected[1]) << kind;
        TapRow(slot.ListView(), 2);
        QTest::mouseClick(slot.ClearButton(), Qt::LeftButton);
        EXPECT_TRUE(slot.SelectedItems().isEmpty()) << kind;
    }
}

TEST_F(SlotList, RefillWithoutResetKeepsItemsAndSelections)
{
    Fill("Priority", L{"Important", "Normal"});
    TapRow(slot.ListView(), 1);
    EXPECT_FALSE(slot.AddItemIfAbsent("Normal"));
    EXPECT_FALSE(slot.AddItemIfAbsent("Important"));
    EXPECT_TRUE(slot.AddItemIfAbsent("Urgent"));
    EXPECT_TRUE(slot.AddItemIfAbsent("normal")); // exact, case-sensitive comparison
    EXPECT_EQ(slot.Items(), (L{"Important", "Normal", "Urgent", "normal"}));
    EXPECT_EQ(slot.SelectedItems(), L{"Normal"});
}

TEST_F(SlotList, ScrollButtonsWorkOnlyWhenItemsOverflow)
{
    Fill("Priority", L{"One", "Two"});
    EXPECT_FALSE(slot.ScrollDownButton()->isEnabled());
    EXPECT_FALSE(slot.ScrollUpButton()->isEnabled());
    for (int i = 0; i < 20; ++i)
        slot.AddItemIfAbsent(QString("Item %1").arg(i));
    ASSERT_TRUE(slot.ScrollDownButton()->isEnabled());
    const int rows = slot.ListView()->VisibleRows();
    for (int i = 0; i < 40; ++i)
        QTest::mouseClick(slot.ScrollDownButton(), Qt::LeftButton);
    EXPECT_EQ(slot.ListView()->TopRow(), 22 - rows); // the last item in the last row
    QTest::mouseClick(slot.ScrollUpButton(), Qt::LeftButton);
    EXPECT_EQ(slot.ListView()->TopRow(), 21 - rows);
}

TEST_F(SlotList, EveryHeightShowsWholeRowsOnly)
{
    Fill("Priority", L{"One", "Two", "Three", "Four", "Five"});
    CSlotListView* view = slot.ListView();
    const int row = view->RowHeight();
    for (const int height : {row * 2 + row / 2, row * 3 - 1, row * 3}) {
        view->resize(view->width(), height + view->frameWidth() * 2);
        QTest::qWait(0);
        const int shown = view->viewport()->height();
        EXPECT_EQ(shown % row, 0) << height;
        for (int i = 0; i < view->count(); ++i) {
            const QRect item = view->visualItemRect(view->item(i));
            if (item.top() < shown) {
                EXPECT_LE(item.bottom(), shown - 1) << height << " row " << i;
            }
        }
    }
}

TEST_F(SlotList, InPlaceEditEndsOnceWithATrimmedTextOfAtMost25BytesOrOnATap)
{
    Fill("Contacts", L{"Important", "Normal"});
    for (const char* kind : {"Task", "Contacts"}) {
        slot.SetKind(kind);
        slot.OpenInPlaceEdit();
        EXPECT_FALSE(slot.IsEditing()) << kind;
        EXPECT_FALSE(slot.HeaderButton()->IsAddable()) << kind;
    }
    slot.SetKind("Priority");
    EXPECT_TRUE(slot.HeaderButton()->IsAddable());
    QSignalSpy finished(&slot, &CSlotList::EditFinished);
    slot.OpenInPlaceEdit();
    ASSERT_TRUE(slot.IsEditing());
    QTest::keyClicks(slot.InPlaceEdit(), "  An item much longer than twenty-five");
    EXPECT_EQ(slot.InPlaceEdit()->text(), "  An item much longer tha");
    QTest::keyClick(slot.InPlaceEdit(), Qt::Key_Return);
    ASSERT_EQ(finished.count(), 1);
    EXPECT_EQ(finished.at(0).at(0).toString(), "An item much longer tha");
    EXPECT_FALSE(slot.IsEditing());

    slot.OpenInPlaceEdit();
    QTest::keyClicks(slot.InPlaceEdit(), "Urgent");
    TapRow(slot.ListView(), 1); // only ends the edit
    ASSERT_EQ(finished.count(), 2);
    EXPECT_EQ(finished.at(1).at(0).toString(), "Urgent");
    EXPECT_TRUE(slot.SelectedItems().isEmpty());
}

// Under a dark palette the glyphs of enabled buttons stand out from their faces as lines
// should (3:1), as they do under a light one.
TEST(SlotListPalette, EnabledGlyphsStandOutOnADarkPalette)
{
    const CDarkPalette dark;
    CSlotList slot;
    slot.SetKind("Priority");
    for (int i = 0; i < 20; ++i)
        slot.AddItemIfAbsent(QString("Tag %1").arg(i));
    slot.resize(240, 100);
    slot.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&slot));
    for (CGlyphButton* button : {slot.ScrollUpButton(), slot.ScrollDownButton(), slot.ClearButton(),
                                 slot.ShowAllButton()}) {
        ASSERT_TRUE(button->isEnabled());
        const QImage face = button->grab().toImage();
        // The glyph's square, inside the button's border.
        const int margin = face.width() / 4;
        EXPECT_GE(InkContrast(face, face.rect().adjusted(margin, margin, -margin, -margin)), 3.0)
            << button->toolTip().toStdString();
    }
}

} // namespace
