#include "app/showalldlg.h"
#include "controls/glyphbutton.h"
#include "controls/headerbutton.h"
#include "controls/inplaceedit.h"
#include "controls/slotlist.h"
#include "controls/slotlistview.h"

#include <QListWidget>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

namespace {

QStringList L(std::initializer_list<const char*> items)
{
    QStringList list;
    for (const char* item : items)
        list << QString::fromUtf8(item);
    return list;
}

void TapRow(QListWidget* view, int row)
{
    const QRect area = view->visualItemRect(view->item(row));
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, area.center());
}

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

TEST_F(SlotList, TapsToggleAndTagGroupsAllowMany)
{
    Fill("Priority", L({"Important", "Normal", "Inessential"}));
    TapRow(slot.ListView(), 0);
    TapRow(slot.ListView(), 2);
    EXPECT_EQ(slot.SelectedItems(), L({"Important", "Inessential"}));
    TapRow(slot.ListView(), 0);
    EXPECT_EQ(slot.SelectedItems(), L({"Inessential"}));
}

TEST_F(SlotList, TaskAndLocationSlotsHoldOneChoice)
{
    for (const char* kind : {"Task", "Tasks", "Location"}) {
        slot.ClearItems();
        Fill(kind, L({"Call back", "Write report"}));
        TapRow(slot.ListView(), 0);
        TapRow(slot.ListView(), 1);
        EXPECT_EQ(slot.SelectedItems(), L({"Write report"})) << kind;
        TapRow(slot.ListView(), 1);
        EXPECT_TRUE(slot.SelectedItems().isEmpty()) << kind;
    }
}

TEST_F(SlotList, RefillWithoutResetKeepsItemsAndSelections)
{
    Fill("Priority", L({"Important", "Normal"}));
    TapRow(slot.ListView(), 1);
    EXPECT_FALSE(slot.AddItemIfAbsent("Normal"));
    EXPECT_FALSE(slot.AddItemIfAbsent("Important"));
    EXPECT_TRUE(slot.AddItemIfAbsent("Urgent"));
    EXPECT_TRUE(slot.AddItemIfAbsent("normal")); // exact, case-sensitive comparison
    EXPECT_EQ(slot.Items(), L({"Important", "Normal", "Urgent", "normal"}));
    EXPECT_EQ(slot.SelectedItems(), L({"Normal"}));
}

TEST_F(SlotList, ScrollButtonsWorkOnlyWhenItemsOverflow)
{
    Fill("Priority", L({"One", "Two"}));
    EXPECT_FALSE(slot.ScrollDownButton()->isEnabled());
    EXPECT_FALSE(slot.ScrollUpButton()->isEnabled());
    for (int i = 0; i < 20; ++i)
        slot.AddItemIfAbsent(QString("Item %1").arg(i));
    ASSERT_TRUE(slot.ScrollDownButton()->isEnabled());
    const int rows = slot.ListView()->VisibleRows();
    for (int i = 0; i < 40; ++i)
        QTest::mouseClick(slot.ScrollDownButton(), Qt::LeftButton);
    // Down stops when the last item stands in the last row.
    EXPECT_EQ(slot.ListView()->TopRow(), 22 - rows);
    QTest::mouseClick(slot.ScrollUpButton(), Qt::LeftButton);
    EXPECT_EQ(slot.ListView()->TopRow(), 21 - rows);
    slot.ClearItems();
    slot.AddItemIfAbsent("Only");
    EXPECT_FALSE(slot.ScrollDownButton()->isEnabled());
    EXPECT_EQ(slot.ListView()->TopRow(), 0);
}

TEST_F(SlotList, ClearButtonDeselectsEverything)
{
    Fill("Contacts", L({"Ann Lee", "Bo Chan"}));
    TapRow(slot.ListView(), 0);
    TapRow(slot.ListView(), 1);
    QTest::mouseClick(slot.ClearButton(), Qt::LeftButton);
    EXPECT_TRUE(slot.SelectedItems().isEmpty());
}

TEST_F(SlotList, InPlaceEditOnlyForKindsThatTakeNewItems)
{
    Fill("Task", L({"Call back"}));
    slot.OpenInPlaceEdit();
    EXPECT_FALSE(slot.IsEditing());
    slot.SetKind("Contacts");
    slot.OpenInPlaceEdit();
    EXPECT_FALSE(slot.IsEditing());
    EXPECT_FALSE(slot.HeaderButton()->IsAddable());
    slot.SetKind("Location");
    EXPECT_TRUE(slot.HeaderButton()->IsAddable());
}

TEST_F(SlotList, InPlaceEditEndsOnceWithATrimmedTextOfAtMost25Bytes)
{
    Fill("Priority", L({"Important"}));
    QSignalSpy finished(&slot, &CSlotList::EditFinished);
    QTest::mouseClick(slot.HeaderButton(), Qt::LeftButton); // the owner opens the edit
    slot.OpenInPlaceEdit();
    ASSERT_TRUE(slot.IsEditing());
    QTest::keyClicks(slot.InPlaceEdit(), "  An item much longer than twenty-five");
    EXPECT_EQ(slot.InPlaceEdit()->text(), "  An item much longer tha");
    QTest::keyClick(slot.InPlaceEdit(), Qt::Key_Return);
    ASSERT_EQ(finished.count(), 1);
    EXPECT_EQ(finished.at(0).at(0).toString(), "An item much longer tha");
    EXPECT_FALSE(slot.IsEditing());
}

TEST_F(SlotList, ATapWhileEditingOnlyEndsTheEdit)
{
    Fill("Priority", L({"Important", "Normal"}));
    QSignalSpy finished(&slot, &CSlotList::EditFinished);
    slot.OpenInPlaceEdit();
    QTest::keyClicks(slot.InPlaceEdit(), "Urgent");
    TapRow(slot.ListView(), 1);
    ASSERT_EQ(finished.count(), 1);
    EXPECT_EQ(finished.at(0).at(0).toString(), "Urgent");
    EXPECT_TRUE(slot.SelectedItems().isEmpty());
}

TEST(InPlaceEdit, TruncatesByBytesWithoutSplittingACharacter)
{
    EXPECT_EQ(CInPlaceEdit::TruncateToBytes("abc", 25), "abc");
    // 12 two-byte letters are 24 bytes; the 13th would split at byte 25.
    const QString umlauts = QString(13, QChar(0x00E4));
    EXPECT_EQ(CInPlaceEdit::TruncateToBytes(umlauts, 25), QString(12, QChar(0x00E4)));
    const QString withEmoji = QString("x") + QString::fromUtf8("\xF0\x9F\x8E\xA4") + "y";
    EXPECT_EQ(CInPlaceEdit::TruncateToBytes(withEmoji, 4), "x");
    EXPECT_EQ(CInPlaceEdit::TruncateToBytes(withEmoji, 5),
              QString("x") + QString::fromUtf8("\xF0\x9F\x8E\xA4"));
}

class ShowAll : public ::testing::Test
{
protected:
    const QStringList items = L({"Alpha", "Beta", "Gamma"});
};

TEST_F(ShowAll, TagGroupsCanSelectAllAndOkHandsBackTheChoice)
{
    CShowAllDlg dialog("Projects", items, {false, true, false});
    dialog.show();
    EXPECT_FALSE(dialog.IsSingleChoice());
    EXPECT_TRUE(dialog.SelectAllButton()->isVisible());
    EXPECT_EQ(dialog.States(), (QList<bool>{false, true, false}));
    QTest::mouseClick(dialog.SelectAllButton(), Qt::LeftButton);
    EXPECT_EQ(dialog.States(), (QList<bool>{true, true, true}));
    QTest::mouseClick(dialog.DeselectAllButton(), Qt::LeftButton);
    TapRow(dialog.List(), 2);
    EXPECT_EQ(dialog.States(), (QList<bool>{false, false, true}));
}

TEST_F(ShowAll, SingleChoiceKindsHideSelectAllAndKeepOneItem)
{
    for (const char* kind : {"Task", "Tasks", "Location"}) {
        CShowAllDlg dialog(kind, items, {true, false, false});
        dialog.show();
        EXPECT_TRUE(dialog.IsSingleChoice()) << kind;
        EXPECT_FALSE(dialog.SelectAllButton()->isVisible()) << kind;
        TapRow(dialog.List(), 2);
        EXPECT_EQ(dialog.States(), (QList<bool>{false, false, true})) << kind;
    }
}

TEST_F(ShowAll, ShortStateListsDeselectTheRest)
{
    CShowAllDlg dialog("Contacts", items, {true});
    EXPECT_EQ(dialog.States(), (QList<bool>{true, false, false}));
}

} // namespace
