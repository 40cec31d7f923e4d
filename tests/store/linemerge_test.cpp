#include "store/linemerge.h"
#include "support/casename.h"

#include <QRandomGenerator>
#include <gtest/gtest.h>

namespace {

using LineMerge::SHunk;

QStringList Lines(const char* text)
{
    return QString::fromLatin1(text).split(u' ', Qt::SkipEmptyParts);
}

qsizetype CommonLength(const QStringList& a, const QStringList& b)
{
    std::vector<std::vector<qsizetype>> table(
        static_cast<std::size_t>(a.size() + 1),
        std::vector<qsizetype>(static_cast<std::size_t>(b.size() + 1)));
    for (qsizetype i = a.size() - 1; i >= 0; --i) {
        for (qsizetype j = b.size() - 1; j >= 0; --j) {
            auto& cell = table[static_cast<std::size_t>(i)][static_cast<std::size_t>(j)];
            cell =
                a[i] == b[j]
                    ? table[static_cast<std::size_t>(i + 1)][static_cast<std::size_t>(j + 1)] + 1
                    : std::max(table[static_cast<std::size_t>(i + 1)][static_cast<std::size_t>(j)],
                               table[static_cast<std::size_t>(i)][static_cast<std::size_t>(j + 1)]);
        }
    }
    return table[0][0];
}

// Against every pair of short texts over three lines: the hunks rebuild the new text, and
// they touch no more lines than the longest common subsequence leaves.
TEST(LineMerge, DiffRebuildsTheNewTextWithTheFewestChangedLines)
{
    QRandomGenerator random(16);
    const QStringList alphabet{"a", "b", "c"};
    for (int round = 0; round < 2000; ++round) {
        QStringList old;
        QStringList now;
        for (QStringList* text : {&old, &now}) {
            for (int i = random.bounded(9); i > 0; --i)
                text->append(alphabet[random.bounded(3)]);
        }
        const std::vector<SHunk> hunks = LineMerge::Diff(old, now);
        QStringList rebuilt;
        qsizetype position = 0;
        qsizetype changed = 0;
        for (const SHunk& hunk : hunks) {
            ASSERT_GE(hunk.from, position);
            rebuilt += old.mid(position, hunk.from - position);
            rebuilt += now.mid(hunk.newFrom, hunk.newTo - hunk.newFrom);
            position = hunk.to;
            changed += hunk.to - hunk.from + hunk.newTo - hunk.newFrom;
        }
        rebuilt += old.mid(position);
        ASSERT_EQ(rebuilt, now) << old.join(u' ').toStdString() << " -> "
                                << now.join(u' ').toStdString();
        ASSERT_EQ(changed, old.size() + now.size() - 2 * CommonLength(old, now));
    }
}

struct SRevertCase
{
    const char* name;
    const char* before;  // the file before the change to undo
    const char* after;   // the file after it
    const char* current; // the file now, with the others' changes
    const char* undone;
    bool conflict;
};

class Revert : public testing::TestWithParam<SRevertCase>
{
};

TEST_P(Revert, UndoesOnlyTheChangeAndKeepsTheOthers)
{
    const SRevertCase& c = GetParam();
    const LineMerge::SRevert revert =
        LineMerge::Revert(Lines(c.before), Lines(c.after), Lines(c.current));
    EXPECT_EQ(revert.lines.join(u' '), QString::fromLatin1(c.undone));
    EXPECT_EQ(revert.conflict, c.conflict);
}

// Lines as catalogue lines: "[P]" a group line, the others its tags.
INSTANTIATE_TEST_SUITE_P(
    Cases, Revert,
    testing::Values(SRevertCase{"their_tag_in_another_group_stays", "[P] a [W] r", "[P] a c [W] r",
                                "[P] a c [W] r x", "[P] a [W] r x", false},
                    SRevertCase{"both_appended_to_one_group", "[P] a [W]", "[P] a c [W]",
                                "[P] a c x [W]", "[P] a x [W]", false},
                    SRevertCase{"their_line_before_the_added_one", "[P] a [W]", "[P] a c [W]",
                                "[P] a x c [W]", "[P] a x [W]", false},
                    SRevertCase{"a_deleted_group_comes_back_beside_theirs", "[P] a [W] r [H]",
                                "[P] a [H]", "[Q] [P] a [H] h", "[Q] [P] a [W] r [H] h", false},
                    SRevertCase{"a_line_they_changed_again_stays_theirs", "[P] a b", "[P] z b",
                                "[P] y b", "[P] y b", true},
                    SRevertCase{"the_same_change_made_by_them_is_no_conflict", "[P] a", "[P] a [W]",
                                "[P] a", "[P] a", false}),
    testsupport::SByName());

} // namespace
