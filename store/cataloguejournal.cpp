#include "store/cataloguejournal.h"

#include "store/linemerge.h"

void CCatalogueJournal::Start(const QStringList& lines)
{
    m_start = lines;
    m_steps.clear();
}

void CCatalogueJournal::Record(const QStringList& before, const QStringList& after)
{
    m_steps.push_back({before, after});
}

CCatalogueJournal::SUndo CCatalogueJournal::Undo(const QStringList& current) const
{
    SUndo undo;
    undo.lines = current;
    // Each change starting from where the previous one (or the opening) left the file means
    // nobody else wrote in between.
    const QStringList* last = &m_start;
    for (const SStep& step : m_steps) {
        undo.foreign = undo.foreign || step.before != *last;
        last = &step.after;
    }
    undo.foreign = undo.foreign || current != *last;
    for (auto step = m_steps.crbegin(); step != m_steps.crend(); ++step) {
        LineMerge::SRevert revert = LineMerge::Revert(step->before, step->after, undo.lines);
        undo.lines = std::move(revert.lines);
        undo.conflict = undo.conflict || revert.conflict;
    }
    return undo;
}
