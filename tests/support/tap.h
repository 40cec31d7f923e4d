#pragma once

// Taps on list rows as a finger or mouse does, for the test programs with widgets.

#include <QListWidget>
#include <QTest>
#include <gtest/gtest.h>

inline void TapRow(QListWidget* list, int row)
{
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualItemRect(list->item(row)).center());
}

// Taps the one row showing exactly `text`; fails the test when there is not exactly one.
inline void TapText(QListWidget* list, const QString& text)
{
    const QList<QListWidgetItem*> found = list->findItems(text, Qt::MatchExactly);
    ASSERT_EQ(found.size(), 1) << text.toStdString();
    TapRow(list, list->row(found.first()));
}
