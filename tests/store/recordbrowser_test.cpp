#include "audio/audiomanager.h"
#include "audio/tagger.h"
#include "platform/wavebackend.h"
#include "store/recordbrowser.h"
#include "support/qtsupport.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <map>
#include <type_traits>

namespace {

using Period::EPeriod;

const QString kDec31 = "12312026_230000.ogg", kJan5 = "01052027_120000.wav",
              kJan6 = "01062027_080000.wav", kMeeting = "Meeting.wav";
const QDate kToday{2027, 1, 6}; // a Wednesday; the week began on Sunday 3 January

using Q = SRecordQuery;

// A query that differs from `query` in one field.
template <typename T> Q With(T Q::*field, std::type_identity_t<T> value, Q query = {})
{
    query.*field = std::move(value);
    return query;
}

std::filesystem::path PathOf(const QString& name)
{
    return ("/records/Data/" + name).toStdString();
}

RecordEntry Entry(const QString& name, const QByteArray& body)
{
    const QByteArray info = "*ParlantographerInfo*\n" + body;
    return RecordEntry{PathOf(name), name, 1024, info.leftJustified(1024, '\0')};
}

// Every answer of a model to the pages' questions, as text, to compare two models.
QStringList Answers(const CRecordBrowser& browser)
{
    QStringList answers;
    std::vector<SRecordQuery> queries;
    for (const ERecordSet set :
         {ERecordSet::All, ERecordSet::WithTask, ERecordSet::WithContacts, ERecordSet::WithTags}) {
        for (const EPeriod period : {EPeriod::All, EPeriod::Today, EPeriod::CurrentWeek})
            queries.push_back(With(&Q::period, period, With(&Q::set, set)));
    }
    queries.push_back(With(&Q::contacts, {"ann lee"}));
    queries.push_back(With(&Q::task, "call back"));
    queries.push_back(With(&Q::tags, {{"Priority", "Important"}}));
    queries.push_back(With(&Q::search, "bauer"));
    for (SRecordQuery& query : queries) {
        query.today = kToday;
        QStringList names;
        // The moment as an instant and its offset: a model dates a record at the zone's offset
        // where a single record is dated in the zone itself.
        for (const int i : browser.Records(query)) {
            const QDateTime& recorded = browser.Record(i).recorded;
            names << browser.Record(i).fileName + '@' +
                         QString::number(recorded.toMSecsSinceEpoch()) + '+' +
                         QString::number(recorded.offsetFromUtc());
        }
        answers << names.join(',') << browser.Contacts(query).join(',')
                << browser.RecordTasks(query).join(',');
        for (const STagGroup& group : browser.TagGroups(query))
            answers << group.group + ':' + group.tags.join(',');
    }
    const std::vector<SPimTask> store{{"Call back", QDateTime(kToday, QTime(9, 0))},
                                      {"Undated", {}}};
    answers << browser.Tasks(store, EPeriod::All, kToday).join(',')
            << browser.Tasks(store, EPeriod::Today, kToday).join(',');
    return answers;
}

class RecordBrowserTest : public testing::Test
{
protected:
    QStringList Names(SRecordQuery query) const
    {
        query.today = kToday;
        QStringList names;
        for (const int i : m_browser.Records(query))
            names.append(m_browser.Record(i).fileName);
        return names;
    }

    CRecordBrowser m_browser{RecordList{
        Entry(kMeeting, "[[Tags]]\n[[Tasks]]\n[[Contacts]]\nann lee\n"),
        Entry(kJan6, "[[Tags]]\n[Priority]\nImportant\n[Projects]\nAlpha\n[[Tasks]]\nCall back\n"
                     "[[Contacts]]\nAnn Lee\nBob Bauer\n"),
        Entry(kDec31, "[[Tags]]\n[Projects]\nImportant\n[[Tasks]]\ncall BACK\n[[Contacts]]\n"),
        Entry(kJan5, "[[Tags]]\nloose\n[Priority]\nNormal\n[[Tasks]]\n[Priority]\nWrite report\n"
                     "[[Contacts]]\nBob Bauer\r\n"),
    }};
};

TEST_F(RecordBrowserTest, NarrowsByPeriodContactsTaskTagsSearchAndSet)
{
    const struct
    {
        const char* what;
        Q query;
        QStringList expected;
    } cases[] = {
        // clang-format off
        {"all, by date, undated last", Q{}, {kDec31, kJan5, kJan6, kMeeting}},
        {"today", With(&Q::period, EPeriod::Today), {kJan6}},
        {"yesterday", With(&Q::period, EPeriod::Yesterday), {kJan5}},
        {"this week", With(&Q::period, EPeriod::CurrentWeek), {kJan5, kJan6}},
        {"custom days", With(&Q::custom, Period::SDayRange{QDate(2026, 12, 31), QDate(2027, 1, 5)},
                             With(&Q::period, EPeriod::Custom)), {kDec31, kJan5}},
        {"custom, none chosen", With(&Q::period, EPeriod::Custom), {}},
        {"contact, any case", With(&Q::contacts, {"ANN LEE"}), {kJan6, kMeeting}},
        {"every contact named", With(&Q::contacts, {"Ann Lee", "bob bauer"}), {kJan6}},
        {"task, any case", With(&Q::task, "Call Back"), {kDec31, kJan6}},
        {"any task line, not only the listed one", With(&Q::task, "WRITE REPORT"), {kJan5}},
        {"nobody's task", With(&Q::task, "Nobody's task"), {}},
        {"tag in its group", With(&Q::tags, {{"Priority", "Important"}}), {kJan6}},
        {"same tag, other group", With(&Q::tags, {{"Projects", "Important"}}), {kDec31}},
        {"a line before any group line is no tag", With(&Q::tags, {{"Priority", "loose"}}), {}},
        {"search contacts", With(&Q::search, "BAUER"), {kJan5, kJan6}},
        {"search tags", With(&Q::search, "alpha"), {kJan6}},
        {"search tasks", With(&Q::search, "report"), {kJan5}},
        {"search names", With(&Q::search, "meet"), {kMeeting}},
        {"blank search", With(&Q::search, "  "), {kDec31, kJan5, kJan6, kMeeting}},
        {"group names are not tags", With(&Q::search, "Projects"), {}},
        {"search within the period", With(&Q::search, "bauer", With(&Q::period, EPeriod::Today)), {kJan6}},
        {"with task: a group line is none", With(&Q::set, ERecordSet::WithTask), {kDec31, kJan6}},
        {"with tags", With(&Q::set, ERecordSet::WithTags), {kDec31, kJan5, kJan6}},
        // clang-format on
    };
    for (const auto& c : cases)
        EXPECT_EQ(Names(c.query), c.expected) << c.what;
}

TEST_F(RecordBrowserTest, ReadsDatesTagsAndThePageSelectors)
{
    const SBrowsedRecord& record = m_browser.Record(2);
    EXPECT_EQ(record.recorded, QDateTime(QDate(2027, 1, 6), QTime(8, 0)));
    EXPECT_EQ(record.tagLines, (QStringList{"[Priority]", "Important", "[Projects]", "Alpha"}));
    EXPECT_EQ(m_browser.IndexOfPath(("/records/Data/" + kJan6).toStdString()), 2);

    const Q all = With(&Q::today, kToday);
    EXPECT_EQ(m_browser.Contacts(all), (QStringList{"Ann Lee", "Bob Bauer"}));
    EXPECT_EQ(m_browser.Contacts(With(&Q::period, EPeriod::Yesterday, all)),
              QStringList{"Bob Bauer"});
    EXPECT_EQ(m_browser.TagGroups(all), (QList<STagGroup>{{"Priority", {"Important", "Normal"}},
                                                          {"Projects", {"Alpha", "Important"}}}));
    EXPECT_EQ(m_browser.RecordTasks(all), QStringList{"call BACK"});
}

TEST_F(RecordBrowserTest, ListsStoreTasksByTheirDateAndUndatedTasksUnderAllOnly)
{
    const std::vector<SPimTask> store{
        {" CALL BACK ", QDateTime(QDate(2027, 1, 7), QTime(9, 0))},
        {"Call back", QDateTime(QDate(2027, 1, 6), QTime(9, 0))}, // same task, other spelling
        {"Plan trip", QDateTime(QDate(2027, 1, 6), QTime(9, 0))}, // no record names it
        {"Undated", {}},
    };
    EXPECT_EQ(m_browser.Tasks(store, EPeriod::Tomorrow, kToday), QStringList{"CALL BACK"});
    EXPECT_EQ(m_browser.Tasks(store, EPeriod::Today, kToday), QStringList{"Call back"});
    EXPECT_TRUE(m_browser.Tasks(store, EPeriod::Yesterday, kToday).isEmpty());
    EXPECT_TRUE(m_browser.Tasks(store, EPeriod::Custom, kToday, Period::SDayRange{}).isEmpty());
    EXPECT_EQ(m_browser.Tasks(store, EPeriod::All, kToday), QStringList{"CALL BACK"});

    const std::vector<SPimTask> otherStore{{"Undated", {}}};
    EXPECT_EQ(m_browser.Tasks(otherStore, EPeriod::All, kToday), QStringList{"call BACK"});
    EXPECT_TRUE(m_browser.Tasks(otherStore, EPeriod::CurrentWeek, kToday).isEmpty());
}

// Records taken out, read again, renamed and added one at a time: the model answers every
// question as a model built anew over the same records, the spelling of a name shared by
// several records included.
TEST_F(RecordBrowserTest, ChangingOneRecordAtATimeAnswersAsAModelBuiltAnew)
{
    std::map<QString, QByteArray> records{
        {kMeeting, "[[Tags]]\n[[Tasks]]\n[[Contacts]]\nann lee\n"},
        {kJan6, "[[Tags]]\n[Priority]\nImportant\n[Projects]\nAlpha\n[[Tasks]]\nCall back\n"
                "[[Contacts]]\nAnn Lee\nBob Bauer\n"},
        {kDec31, "[[Tags]]\n[Projects]\nImportant\n[[Tasks]]\ncall BACK\n[[Contacts]]\n"},
        {kJan5, "[[Tags]]\nloose\n[Priority]\nNormal\n[[Tasks]]\n[Priority]\nWrite report\n"
                "[[Contacts]]\nBob Bauer\r\n"}};
    const auto put = [&](const QString& name, const QByteArray& body) {
        records[name] = body;
        m_browser.Put(Entry(name, body));
    };
    const auto remove = [&](const QString& name) {
        records.erase(name);
        return m_browser.Remove(PathOf(name));
    };

    EXPECT_TRUE(remove(kJan6));
    EXPECT_FALSE(m_browser.Remove(PathOf(kJan6)));
    EXPECT_EQ(m_browser.Contacts({}), (QStringList{"ann lee", "Bob Bauer"}));
    EXPECT_EQ(m_browser.RecordTasks({}), QStringList{"call BACK"});
    const int at = m_browser.IndexOfPath(PathOf(kJan5));
    put(kJan5, "[[Tags]]\n[Priority]\nImportant\n[[Tasks]]\nCALL BACK\n[[Contacts]]\nANN LEE\n");
    EXPECT_EQ(m_browser.IndexOfPath(PathOf(kJan5)), at) << "an edit keeps the record's place";
    EXPECT_EQ(m_browser.Contacts({}), QStringList{"ANN LEE"}) << "the earlier record spells";
    put(kJan6, "[[Tags]]\n[Projects]\nBeta\n[[Tasks]]\nCall back\n[[Contacts]]\nBob Bauer\n");
    put("01012027_090000.ogg", "[[Tags]]\n[Priority]\nNormal\n[[Tasks]]\nPlan\n[[Contacts]]\n");
    EXPECT_TRUE(remove(kMeeting));
    put("Agenda.wav", "[[Tags]]\n[[Tasks]]\n[[Contacts]]\nann lee\n");
    EXPECT_TRUE(remove(kDec31));

    RecordList list;
    for (const auto& [name, body] : records)
        list.push_back(Entry(name, body));
    const CRecordBrowser anew(list);
    EXPECT_EQ(Answers(m_browser), Answers(anew));
    EXPECT_EQ(m_browser.Count(), anew.Count());
}

// A refresh reads again only what changed on disk: an information edit made in place by
// another program (which keeps the size and the modification time), a file added, a file gone,
// a record that is no record any more. Files that hold no record are not taken for changes.
// What the model changed by itself since is not taken for the folder's state.
TEST(RecordBrowserRefresh, ReadsAgainOnlyTheFilesThatChanged)
{
    QTemporaryDir dir;
    const QString data = dir.path() + "/Data/";
    ASSERT_TRUE(WriteAll(data + "01022027_080000.wav", Wav(kMarkedInfo, 8000)));
    ASSERT_TRUE(WriteAll(data + "01032027_080000.wav", Wav(kMarkedInfo)));
    ASSERT_TRUE(WriteAll(data + "notes.txt", "not a record"));
    CAudioManager audio;
    CRecordBrowser browser(BuildRecordList({data}, audio.GetTagger()));
    ASSERT_EQ(browser.Count(), 2);
    EXPECT_EQ(browser.Record(0).samples, 8000u);
    EXPECT_FALSE(browser.Refresh({data}, RecordReader::DecodersOf(audio)).Changed());

    const QByteArray edited = kMarkedInfo + "Bo Chan\n";
    audio.GetTagger().WriteRecordInfo(Native(data + "01022027_080000.wav").native(),
                                      edited.constData(), static_cast<std::size_t>(edited.size()));
    ASSERT_TRUE(WriteAll(data + "01042027_080000.wav", Wav(kMarkedInfo)));
    ASSERT_TRUE(QFile::remove(data + "01032027_080000.wav"));
    const CRecordBrowser::SRefresh changes =
        browser.Refresh({data}, RecordReader::DecodersOf(audio));
    EXPECT_EQ(changes.replaced, 1);
    EXPECT_EQ(changes.added,
              std::vector<std::filesystem::path>{Native(data + "01042027_080000.wav")});
    EXPECT_EQ(changes.removed, 1);
    ASSERT_EQ(browser.Count(), 2);
    EXPECT_TRUE(browser.Record(0).contacts.contains("Bo Chan"));
    EXPECT_EQ(browser.Record(1).fileName, "01042027_080000.wav");

    ASSERT_TRUE(WriteAll(data + "01042027_080000.wav", "no longer a record"));
    EXPECT_EQ(browser.Refresh({data}, RecordReader::DecodersOf(audio)).removed, 1);
    EXPECT_FALSE(browser.Refresh({data}, RecordReader::DecodersOf(audio)).Changed());
    EXPECT_EQ(browser.Count(), 1);

    // A row the model dropped by itself, its file untouched, comes back.
    ASSERT_TRUE(browser.Remove(Native(data + "01022027_080000.wav")));
    EXPECT_EQ(browser.Refresh({data}, RecordReader::DecodersOf(audio)).added.size(), 1u);
}

} // namespace
