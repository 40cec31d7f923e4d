#pragma once

#include <QString>
#include <QStringList>
#include <cstddef>
#include <vector>

// The order in which record lists are shown: records named by date (RecordDate) first, oldest
// first across years (01012027 after 12312026) by the date and time their names say, variants
// of one second in variant order; all other names after them, by name ignoring case (ties by
// exact code points, so the order is total and the same on every run). Pure.
namespace RecordOrder {

// A file name's place in that order, worked out once so that sorting many names does not
// parse each name at every comparison.
struct SKey
{
    bool dated = false;
    qint64 day = 0;  // Julian day of the name's date
    int seconds = 0; // of the name's time of day
    int variant = 0;
    QString name;
};

SKey Key(const QString& fileName);
bool Less(const SKey& a, const SKey& b);

// The positions of `keys` in that order; equal keys keep the order they are given in (the
// record folders' order, then the names' bytes, as the catalogue lists them).
std::vector<std::size_t> Arrange(const std::vector<SKey>& keys);

// True when the record named `a` comes before the one named `b`.
bool Less(const QString& a, const QString& b);

// Sorts file names into that order.
void Sort(QStringList& fileNames);

} // namespace RecordOrder
