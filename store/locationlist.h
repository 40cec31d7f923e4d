#pragma once

#include <QString>
#include <QStringList>

// The named locations behind a "Location" slot, kept in "locations.dat": one line per
// location in the order added, "name~p1~p2~p3~p4~p5~p6~500~0.000000". Only the name is ever
// read back. Nothing is cached. User-interface thread only.
class CLocationList
{
public:
    static constexpr const char* kFileName = "locations.dat";
    static constexpr const char* kMsgWriteFailed =
        QT_TRANSLATE_NOOP("CLocationList", "The locations file could not be saved.");

    // `folder` is the program folder that holds "locations.dat".
    explicit CLocationList(const QString& folder);

    QString Path() const { return m_path; }

    // Every line's name (the text before its first "~", or the whole line), in file order and
    // with repeats. A missing or unreadable file gives an empty list.
    QStringList FillLocations() const;

    // Appends the trimmed name with six zero position values (no position source exists),
    // then 500 and 0.000000. No check for an empty or repeated name. False, with the file
    // unchanged, when the name is refused (see Refusal) or the file cannot be opened or
    // written, or another program keeps it locked.
    bool AddLocation(const QString& name) const;

    // Why `name` can not be a location (a "~" ends the name on the line, a control character
    // breaks the line); empty when it can.
    static QString Refusal(const QString& name);

    // The line AddLocation writes, without its line feed.
    static QString LocationLine(const QString& name);

    // The message for the last AddLocation that failed to write: it says so when another
    // program kept the file locked (see CCatalogueLock).
    QString WriteFailureMessage() const;

private:
    QString m_path;
    mutable bool m_busy = false;
};
