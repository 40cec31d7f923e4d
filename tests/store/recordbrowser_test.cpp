#include "store/recordbrowser.h"

#include <gtest/gtest.h>

namespace {

using Period::EPeriod;

RecordEntry Entry(const QString& name, const QByteArray& body)
{
    const QByteArray info = "*ParlantographerInfo*\n" + body;
    return RecordEntry{"/records/Data/" + name, name, 1024, info.leftJustified(1024, '\0')};
}

// Seen on Wednesday 6 January 2027.
class RecordBrowserTest : public testing::Test
{
protected:
    RecordBrowserTest()
        : m_browser(RecordList{
              Entry("Meeting.wav", "[[Tags]]\n[[Tasks]]\n[[Contacts]]\nann lee\n"),
              Entry("01062027_080000.wav",
                    "[[Tags]]\n[Priority]\nImportant\n[Projects]\nAlpha\n[[Tasks]]\nCall back\n"
                    "[[Contacts]]\nAnn Lee\nBob Bauer\n"),
              Entry("12312026_230000.ogg",
                    "[[Tags]]\n[Projects]\nImportant\n[[Tasks]]\ncall BACK\n[[Contacts]]\n"),
              Entry("01052027_120000.wav",
                    "[[Tags]]\nloose\n[Priority]\nNormal\n[[Tasks]]\n[Priority]\nWrite report\n"
                    "[[Contacts]]\nBob Bauer\r\n"),
          })
    {}

    QStringList Names(const SRecordQuery& query) const
    {
        QStringList names;
        for (const int i : m_browser.Records(query))
            names.append(m_browser.Record(i).fileName);
        return names;
    }

    SRecordQuery Query(EPeriod period = EPeriod::All) const
    {
        SRecordQuery query;
        query.period = period;
        query.today = m_today;
        return query;
    }

    const QDate m_today{2027, 1, 6};
    CRecordBrowser m_browser;
};

TEST_F(RecordBrowserTest, ListsChronologicallyAndByPeriod)
{
    EXPECT_EQ(Names(Query()), (QStringList{"12312026_230000.ogg", "01052027_120000.wav",
                                           "01062027_080000.wav", "Meeting.wav"}));
    EXPECT_EQ(Names(Query(EPeriod::Today)), QStringList{"01062027_080000.wav"});
    EXPECT_EQ(Names(Query(EPeriod::Yesterday)), QStringList{"01052027_120000.wav"});
    // The week began on Sunday 3 January; the month on the 1st.
    EXPECT_EQ(Names(Query(EPeriod::CurrentWeek)),
              (QStringList{"01052027_120000.wav", "01062027_080000.wav"}));
    SRecordQuery custom = Query(EPeriod::Custom);
    custom.custom = Period::SDayRange{QDate(2026, 12, 31), QDate(2027, 1, 5)};
    EXPECT_EQ(Names(custom), (QStringList{"12312026_230000.ogg", "01052027_120000.wav"}));
    EXPECT_TRUE(Names(Query(EPeriod::Custom)).isEmpty());

    const SBrowsedRecord& record = m_browser.Record(2);
    EXPECT_EQ(record.recorded, QDateTime(QDate(2027, 1, 6), QTime(8, 0)));
    EXPECT_EQ(record.tagLines, (QStringList{"[Priority]", "Important", "[Projects]", "Alpha"}));
    EXPECT_EQ(m_browser.IndexOfPath("/records/Data/01062027_080000.wav"), 2);
}

TEST_F(RecordBrowserTest, MatchesContactsAndTasksIgnoringCaseAndTagsInTheirOwnGroup)
{
    SRecordQuery query = Query();
    query.contacts = {"ANN LEE"};
    EXPECT_EQ(Names(query), (QStringList{"01062027_080000.wav", "Meeting.wav"}));
    query.contacts = {"Ann Lee", "bob bauer"}; // every one must be named
    EXPECT_EQ(Names(query), QStringList{"01062027_080000.wav"});

    query = Query();
    query.task = "Call Back";
    EXPECT_EQ(Names(query), (QStringList{"12312026_230000.ogg", "01062027_080000.wav"}));
    query.task = "WRITE REPORT"; // any line of the section, not only the one listed
    EXPECT_EQ(Names(query), QStringList{"01052027_120000.wav"});
    query.task = "Nobody's task";
    EXPECT_TRUE(Names(query).isEmpty());

    query = Query();
    query.tags = {{"Priority", "Important"}};
    EXPECT_EQ(Names(query), QStringList{"01062027_080000.wav"});
    query.tags = {{"Projects", "Important"}};
    EXPECT_EQ(Names(query), QStringList{"12312026_230000.ogg"});
    query.tags = {{"Priority", "loose"}}; // a line before any group line is no tag
    EXPECT_TRUE(Names(query).isEmpty());
}

TEST_F(RecordBrowserTest, SearchesTheInformationAndTheNameCombinedWithThePeriod)
{
    SRecordQuery query = Query();
    for (const auto& [text, expected] : std::initializer_list<std::pair<QString, QStringList>>{
             {"BAUER", {"01052027_120000.wav", "01062027_080000.wav"}},
             {"alpha", {"01062027_080000.wav"}},
             {"report", {"01052027_120000.wav"}},
             {"meet", {"Meeting.wav"}},
             {"  ",
              {"12312026_230000.ogg", "01052027_120000.wav", "01062027_080000.wav", "Meeting.wav"}},
             {"Projects", {}}, // group names are not tags
         }) {
        query.search = text;
        EXPECT_EQ(Names(query), expected) << text.toStdString();
    }
    query.search = "bauer";
    query.period = EPeriod::Today;
    EXPECT_EQ(Names(query), QStringList{"01062027_080000.wav"});
}

TEST_F(RecordBrowserTest, ListsTheSelectorsOfThePages)
{
    EXPECT_EQ(m_browser.Contacts(Query()), (QStringList{"Ann Lee", "Bob Bauer"}));
    EXPECT_EQ(m_browser.Contacts(Query(EPeriod::Yesterday)), QStringList{"Bob Bauer"});
    EXPECT_EQ(m_browser.TagGroups(Query()),
              (QList<STagGroup>{{"Priority", {"Important", "Normal"}},
                                {"Projects", {"Alpha", "Important"}}}));
    EXPECT_EQ(m_browser.RecordTasks(Query()), QStringList{"call BACK"});

    SRecordQuery withTask = Query();
    withTask.set = ERecordSet::WithTask; // "[Priority]" is no task
    EXPECT_EQ(Names(withTask), (QStringList{"12312026_230000.ogg", "01062027_080000.wav"}));
    withTask.set = ERecordSet::WithTags;
    EXPECT_EQ(Names(withTask).size(), 3);
}

TEST_F(RecordBrowserTest, ListsStoreTasksByTheirDateAndUndatedTasksUnderAllOnly)
{
    const Period::SDayRange none;
    const std::vector<SPimTask> store{
        {" CALL BACK ", QDateTime(QDate(2027, 1, 7), QTime(9, 0))},
        {"Call back", QDateTime(QDate(2027, 1, 6), QTime(9, 0))}, // same task, other spelling
        {"Plan trip", QDateTime(QDate(2027, 1, 6), QTime(9, 0))}, // no record names it
        {"Undated", {}},
    };
    EXPECT_EQ(m_browser.Tasks(store, EPeriod::Tomorrow, m_today), QStringList{"CALL BACK"});
    EXPECT_EQ(m_browser.Tasks(store, EPeriod::Today, m_today), QStringList{"Call back"});
    EXPECT_TRUE(m_browser.Tasks(store, EPeriod::Yesterday, m_today).isEmpty());
    EXPECT_TRUE(m_browser.Tasks(store, EPeriod::Custom, m_today, none).isEmpty());
    EXPECT_EQ(m_browser.Tasks(store, EPeriod::All, m_today), QStringList{"CALL BACK"});

    const std::vector<SPimTask> otherStore{{"Undated", {}}};
    EXPECT_EQ(m_browser.Tasks(otherStore, EPeriod::All, m_today), QStringList{"call BACK"});
    EXPECT_TRUE(m_browser.Tasks(otherStore, EPeriod::CurrentWeek, m_today).isEmpty());
}

} // namespace
