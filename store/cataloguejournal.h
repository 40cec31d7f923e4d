#pragma once

#include <QStringList>
#include <vector>

// The changes one editor (the tag manager) made to a catalogue, each as the lines just
// before and just after it, so that Cancel can undo exactly those changes while what other
// writers did meanwhile, before, between or after them, stays.
class CCatalogueJournal
{
public:
    // The lines as the editor found them when it opened.
    void Start(const QStringList& lines);
    // One change, as written under the catalogue's lock.
    void Record(const QStringList& before, const QStringList& after);
    bool IsEmpty() const { return m_steps.empty(); }

    struct SUndo
    {
        // The current lines with every recorded change undone, last first.
        QStringList lines;
        // Another writer changed the file since Start: `lines` keeps their changes.
        bool foreign = false;
        // A recorded change whose lines another writer changed again stays as they left it.
        bool conflict = false;
    };
    SUndo Undo(const QStringList& current) const;

private:
    struct SStep
    {
        QStringList before;
        QStringList after;
    };
    QStringList m_start;
    std::vector<SStep> m_steps;
};
