#include "store/recordorder.h"

#include "store/recorddate.h"

#include <algorithm>
#include <numeric>
#include <tuple>
#include <vector>

namespace RecordOrder {

SKey Key(const QString& fileName)
{
    SKey key;
    key.name = fileName;
    if (const std::optional<RecordDate::SNameStamp> stamp = RecordDate::StampOfFileName(fileName)) {
        key.dated = true;
        key.day = stamp->date.toJulianDay();
        key.seconds = stamp->time.msecsSinceStartOfDay() / 1000;
        key.variant = stamp->variant;
    }
    return key;
}

bool Less(const SKey& a, const SKey& b)
{
    if (a.dated != b.dated)
        return a.dated; // named by date first
    if (a.dated && std::tie(a.day, a.seconds, a.variant) != std::tie(b.day, b.seconds, b.variant))
        return std::tie(a.day, a.seconds, a.variant) < std::tie(b.day, b.seconds, b.variant);
    const int folded = a.name.compare(b.name, Qt::CaseInsensitive);
    if (folded != 0)
        return folded < 0;
    return a.name < b.name;
}

std::vector<std::size_t> Arrange(const std::vector<SKey>& keys)
{
    std::vector<std::size_t> order(keys.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::stable_sort(order.begin(), order.end(),
                     [&](std::size_t a, std::size_t b) { return Less(keys[a], keys[b]); });
    return order;
}

bool Less(const QString& a, const QString& b)
{
    return Less(Key(a), Key(b));
}

void Sort(QStringList& fileNames)
{
    std::vector<SKey> keys;
    keys.reserve(static_cast<std::size_t>(fileNames.size()));
    for (const QString& name : fileNames)
        keys.push_back(Key(name));
    std::sort(keys.begin(), keys.end(), [](const SKey& a, const SKey& b) { return Less(a, b); });
    for (qsizetype i = 0; i < fileNames.size(); ++i)
        fileNames[i] = keys[static_cast<std::size_t>(i)].name;
}

} // namespace RecordOrder
