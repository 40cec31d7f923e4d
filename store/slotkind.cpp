#include "store/slotkind.h"

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
    case EType::TagGroup: // whatever its name: a record carries any number of a group's tags
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
