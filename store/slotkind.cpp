#include "store/slotkind.h"

namespace {

// A tag group of this name has always held one choice on the main screen, like the task
// slot its name reads as; kept so that no existing setup behaves differently.
constexpr QLatin1String kSingleChoiceGroup{"Tasks"};

} // namespace

CSlotKind::CSlotKind(const QString& stored) : m_text(stored), m_type(TypeOf(stored)) {}

CSlotKind::EType CSlotKind::TypeOf(const QString& text)
{
    if (text.isEmpty() || text == kNone)
        return EType::None;
    if (text == kContacts)
        return EType::Contacts;
    if (text == kTask)
        return EType::Task;
    if (text == kLocation)
        return EType::Location;
    return EType::TagGroup;
}

bool CSlotKind::IsKindName(const QString& text)
{
    return !text.isEmpty() && TypeOf(text) != EType::TagGroup;
}

bool CSlotKind::IsSingleChoice() const
{
    switch (m_type) {
    case EType::Task:
    case EType::Location:
        return true;
    case EType::TagGroup:
        return m_text == kSingleChoiceGroup;
    case EType::None:
    case EType::Contacts:
        return false;
    }
    return false;
}

bool CSlotKind::CanAddItems() const
{
    return m_type == EType::TagGroup || m_type == EType::Location;
}
