#pragma once

#include <QStringList>

class CLocationList;
class CSlotKind;
class CTagCatalogue;
class MPimSource;

// Where the items of the main screen's slots come from.
struct SSlotSources
{
    const MPimSource& pim;
    const CLocationList& locations;
    const CTagCatalogue& catalogue;
};

namespace SlotItems {

// The items a slot of `kind` lists, in the order it shows them, each once and none empty:
// the tasks or the contacts of the contacts-and-tasks source, the locations, or the tags of
// the group. A slot of no kind lists nothing. Every call reads its source afresh.
QStringList Of(const CSlotKind& kind, const SSlotSources& sources);

} // namespace SlotItems
