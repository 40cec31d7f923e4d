#include "store/linemerge.h"

#include <algorithm>
#include <optional>
#include <tuple>

namespace LineMerge {
namespace {

// Beyond this many remembered diagonal positions the middle of two texts counts as one
// hunk: catalogues differ in a few lines, and a text rewritten throughout gains nothing
// from a finer answer.
constexpr qsizetype kMaxTraceCells = 4'000'000;

// Myers' difference of a[a0, a0 + n) and b[b0, b0 + m): the matching line pairs, in order.
std::optional<std::vector<std::pair<qsizetype, qsizetype>>> Matches(const QStringList& a,
                                                                    qsizetype a0, qsizetype n,
                                                                    const QStringList& b,
                                                                    qsizetype b0, qsizetype m)
{
    const qsizetype max = n + m;
    const qsizetype offset = max + 1;
    std::vector<qsizetype> v(static_cast<std::size_t>(2 * max + 3), 0);
    std::vector<std::vector<qsizetype>> trace;
    const auto at = [offset](std::vector<qsizetype>& row, qsizetype k) -> qsizetype& {
        return row[static_cast<std::size_t>(k + offset)];
    };
    qsizetype depth = -1;
    for (qsizetype d = 0; d <= max && depth < 0; ++d) {
        if ((d + 1) * static_cast<qsizetype>(v.size()) > kMaxTraceCells)
            return std::nullopt;
        trace.push_back(v);
        for (qsizetype k = -d; k <= d; k += 2) {
            qsizetype x = (k == -d || (k != d && at(v, k - 1) < at(v, k + 1))) ? at(v, k + 1)
                                                                               : at(v, k - 1) + 1;
            qsizetype y = x - k;
            while (x < n && y < m && a[a0 + x] == b[b0 + y]) {
                ++x;
                ++y;
            }
            at(v, k) = x;
            if (x >= n && y >= m) {
                depth = d;
                break;
            }
        }
    }
    // Back from the end: each step came from the neighbouring diagonal it was taken from,
    // and the diagonal run after it is made of matching lines.
    std::vector<std::pair<qsizetype, qsizetype>> matches;
    qsizetype x = n;
    qsizetype y = m;
    for (qsizetype d = depth; d >= 0; --d) {
        std::vector<qsizetype>& row = trace[static_cast<std::size_t>(d)];
        const qsizetype k = x - y;
        const qsizetype previous =
            (k == -d || (k != d && at(row, k - 1) < at(row, k + 1))) ? k + 1 : k - 1;
        const qsizetype startX = at(row, previous);
        const qsizetype startY = startX - previous;
        while (x > startX && y > startY) {
            --x;
            --y;
            matches.emplace_back(a0 + x, b0 + y);
        }
        x = startX;
        y = startY;
    }
    std::reverse(matches.begin(), matches.end());
    return matches;
}

// Whether two hunks of the same old text touch the same lines. Insertions at one place do
// not conflict with each other, nor with a change that begins or ends there.
bool Overlap(const SHunk& one, const SHunk& other)
{
    const bool oneInserts = one.from == one.to;
    const bool otherInserts = other.from == other.to;
    if (oneInserts && otherInserts)
        return false;
    if (oneInserts)
        return other.from < one.from && one.from < other.to;
    if (otherInserts)
        return one.from < other.from && other.from < one.to;
    return one.from < other.to && other.from < one.to;
}

} // namespace

std::vector<SHunk> Diff(const QStringList& oldLines, const QStringList& newLines)
{
    qsizetype head = 0;
    while (head < oldLines.size() && head < newLines.size() && oldLines[head] == newLines[head])
        ++head;
    qsizetype tail = 0;
    while (tail < oldLines.size() - head && tail < newLines.size() - head &&
           oldLines[oldLines.size() - 1 - tail] == newLines[newLines.size() - 1 - tail])
        ++tail;
    const qsizetype n = oldLines.size() - head - tail;
    const qsizetype m = newLines.size() - head - tail;
    if (n == 0 && m == 0)
        return {};
    const auto matches = Matches(oldLines, head, n, newLines, head, m);
    if (!matches)
        return {SHunk{head, head + n, head, head + m}};
    std::vector<SHunk> hunks;
    qsizetype a = head;
    qsizetype b = head;
    const auto close = [&](qsizetype toA, qsizetype toB) {
        if (toA > a || toB > b)
            hunks.push_back(SHunk{a, toA, b, toB});
    };
    for (const auto& [matchA, matchB] : *matches) {
        close(matchA, matchB);
        a = matchA + 1;
        b = matchB + 1;
    }
    close(head + n, head + m);
    return hunks;
}

SRevert Revert(const QStringList& before, const QStringList& after, const QStringList& current)
{
    struct SEdit
    {
        SHunk hunk;
        const QStringList* lines;
        bool mine;
    };
    // Both as changes of `after`: the undo (towards `before`) and the others' changes.
    std::vector<SEdit> edits;
    const std::vector<SHunk> theirs = Diff(after, current);
    for (const SHunk& hunk : theirs)
        edits.push_back({hunk, &current, false});
    SRevert result;
    for (const SHunk& hunk : Diff(after, before)) {
        const auto same = [&](const SHunk& other) {
            return other.from == hunk.from && other.to == hunk.to &&
                   current.mid(other.newFrom, other.newTo - other.newFrom) ==
                       before.mid(hunk.newFrom, hunk.newTo - hunk.newFrom);
        };
        const auto touched = [&hunk](const SHunk& other) {
            return Overlap(hunk, other);
        };
        // Another writer who made the very same change has undone it already.
        if (std::any_of(theirs.begin(), theirs.end(), same))
            continue;
        if (std::any_of(theirs.begin(), theirs.end(), touched))
            result.conflict = true;
        else
            edits.push_back({hunk, &before, true});
    }
    // In order of the old text; at one place insertions first, and the undo before theirs.
    std::sort(edits.begin(), edits.end(), [](const SEdit& one, const SEdit& other) {
        const auto key = [](const SEdit& edit) {
            return std::make_tuple(edit.hunk.from, edit.hunk.to != edit.hunk.from, !edit.mine);
        };
        return key(one) < key(other);
    });
    qsizetype position = 0;
    for (const SEdit& edit : edits) {
        result.lines += after.mid(position, edit.hunk.from - position);
        result.lines += edit.lines->mid(edit.hunk.newFrom, edit.hunk.newTo - edit.hunk.newFrom);
        position = edit.hunk.to;
    }
    result.lines += after.mid(position);
    return result;
}

} // namespace LineMerge
