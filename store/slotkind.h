#pragma once

#include <QLatin1String>
#include <QString>

// The kind of one main-screen slot, as the settings "Slot1".."Slot4" store it: "None",
// "Contacts", "Task", "Location", or the name of a tag group. The stored text is kept as
// it was read and given back unchanged, so a kind goes back into the settings byte for
// byte. An empty text names no kind: it shows nothing, as "None" does (the slot rules
// treat it as missing, see SlotRules).
class CSlotKind
{
public:
    enum class EType
    {
        None,
        Contacts,
        Task,
        Location,
        TagGroup,
    };

    // The stored names of the kinds that are not tag groups; a group may not take them.
    static constexpr QLatin1String kNone{"None"};
    static constexpr QLatin1String kContacts{"Contacts"};
    static constexpr QLatin1String kTask{"Task"};
    static constexpr QLatin1String kLocation{"Location"};

    explicit CSlotKind(const QString& stored);

    // True for the four names above: a text that reads as a kind other than a tag group.
    static bool IsKindName(const QString& text);

    EType Type() const { return m_type; }
    bool IsNone() const { return m_type == EType::None; }
    bool IsContacts() const { return m_type == EType::Contacts; }
    bool IsTask() const { return m_type == EType::Task; }
    bool IsLocation() const { return m_type == EType::Location; }
    bool IsTagGroup() const { return m_type == EType::TagGroup; }
    // The tag group's name; empty for the other kinds.
    QString GroupName() const { return IsTagGroup() ? m_text : QString(); }

    // A record takes at most one task and one location, so such a slot holds one choice.
    bool IsSingleChoice() const;
    // Whether a new item can be typed into the slot: tag groups and locations have their
    // own lists to add to; tasks and contacts come from the contacts-and-tasks store.
    bool CanAddItems() const;

    // The text the settings store, exactly as it was given.
    const QString& Text() const { return m_text; }

private:
    static EType TypeOf(const QString& text);

    QString m_text;
    EType m_type;
};
