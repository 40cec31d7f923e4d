#include "store/slotitems.h"

#include "store/locationlist.h"
#include "store/pimstore.h"
#include "store/slotkind.h"
#include "store/tagcatalogue.h"

namespace SlotItems {

QStringList Of(const CSlotKind& kind, const SSlotSources& sources)
{
    QStringList listed;
    switch (kind.Type()) {
    case CSlotKind::EType::None:
        return {};
    case CSlotKind::EType::Task:
        listed = CPimStore(sources.pim).FillTasks();
        break;
    case CSlotKind::EType::Contacts:
        listed = CPimStore(sources.pim).FillContacts();
        break;
    case CSlotKind::EType::Location:
        listed = sources.locations.FillLocations();
        break;
    case CSlotKind::EType::TagGroup:
        listed = sources.catalogue.UniqueTagsOfGroup(kind.GroupName());
        break;
    }
    QStringList items;
    for (const QString& item : std::as_const(listed)) {
        if (!item.isEmpty() && !items.contains(item))
            items << item;
    }
    return items;
}

} // namespace SlotItems
