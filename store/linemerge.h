#pragma once

#include <QStringList>
#include <vector>

// Line-by-line differences and the three-way merge that undoes one writer's change to a
// file while keeping what other writers changed since. Pure.
namespace LineMerge {

// One difference: lines [from, to) of the old text give way to lines [newFrom, newTo) of
// the new one. An empty old range is an insertion before line `from`.
struct SHunk
{
    qsizetype from = 0;
    qsizetype to = 0;
    qsizetype newFrom = 0;
    qsizetype newTo = 0;
    bool operator==(const SHunk&) const = default;
};

// The fewest hunks that turn `oldLines` into `newLines`, in order, apart from each other
// (a line-based Myers difference). Texts that differ almost everywhere give one hunk.
std::vector<SHunk> Diff(const QStringList& oldLines, const QStringList& newLines);

struct SRevert
{
    QStringList lines;
    // Some line of the change was changed again by another writer: that part of the
    // change stays as the other writer left it.
    bool conflict = false;
};

// A writer turned `before` into `after`; the file now holds `current`, which other writers
// may have changed since. Gives `current` with the writer's change undone wherever no other
// writer touched the same lines; where one did, theirs stays.
SRevert Revert(const QStringList& before, const QStringList& after, const QStringList& current);

} // namespace LineMerge
