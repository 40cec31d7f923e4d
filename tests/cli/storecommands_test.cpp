#include "clirunner.h"

#include <QByteArray>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <map>
#include <regex>

namespace {

using namespace testsupport;
namespace fs = std::filesystem;
using Words = std::vector<std::string>;

// A home with two contacts, two tasks and the tag group Projects (Alpha, Beta) next to
// the default Priority group.
class CliStore : public ::testing::Test
{
protected:
    void SetUp() override
    {
        fs::create_directories(cli.Pim() + "/contacts");
        fs::create_directories(cli.Pim() + "/tasks");
        WriteString(cli.Pim() + "/contacts/people.vcf",
                    "BEGIN:VCARD\r\nVERSION:3.0\r\nN:Lee;Ann;;;\r\nFN:Ann Lee\r\nEND:VCARD\r\n"
                    "BEGIN:VCARD\r\nVERSION:3.0\r\nN:Bauer;Bob;J.;;\r\nEND:VCARD\r\n");
        WriteString(cli.Pim() + "/tasks/work.ics",
                    "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//t//t//EN\r\n"
                    "BEGIN:VTODO\r\nUID:1\r\nSUMMARY:Call back\r\nEND:VTODO\r\n"
                    "BEGIN:VTODO\r\nUID:2\r\nSUMMARY:  Write report \r\nEND:VTODO\r\n"
                    "END:VCALENDAR\r\n");
        Ok({"tags", "add-group", "Projects"});
        Ok({"tags", "add", "Projects", "Alpha"});
        Ok({"tags", "add", "Projects", "Beta"});
    }

    static Words Join(Words head, const Words& tail)
    {
        head.insert(head.end(), tail.begin(), tail.end());
        return head;
    }

    SCliResult Ok(const Words& arguments)
    {
        SCliResult result = cli.Run(arguments);
        EXPECT_EQ(result.exitCode, 0) << arguments.front() << ": " << result.err;
        return result;
    }

    QJsonDocument Json(const Words& arguments)
    {
        return QJsonDocument::fromJson(QByteArray::fromStdString(Ok(arguments).out));
    }

    // Records and returns the path the program reports.
    std::string Record(const Words& options)
    {
        const std::string out = Ok(Join({"record", "--seconds", "1"}, options)).out;
        EXPECT_FALSE(out.empty());
        return out.substr(0, out.find('\n'));
    }

    // Every file of the home with a digest of its content (a failure then lists paths,
    // not whole records).
    std::map<std::string, std::size_t> HomeFiles() const
    {
        std::map<std::string, std::size_t> files;
        for (const auto& entry : fs::recursive_directory_iterator(cli.Home()))
            if (entry.is_regular_file())
                files[entry.path().string()] =
                    std::hash<std::string>{}(ReadString(entry.path().string()));
        return files;
    }

    CCliRunner cli;
};

// The commands' own checks (the catalogues' refusals are tested in tests/store); each says
// why and leaves every file of the home as it was.
TEST_F(CliStore, RefusalsSayWhyAndChangeNothing)
{
    const std::string notes = cli.Home() + "/Data/notes.wav";
    fs::create_directories(cli.Home() + "/Data");
    WriteString(notes, "not a record");
    const std::string stray = cli.Home() + "/stray.wav"; // a real record, but out of place
    fs::copy_file(Record({}), stray);
    const auto before = HomeFiles();
    const Words record = {"record", "--seconds", "1"};
    const std::vector<std::tuple<Words, int, std::string>> cases = {
        {{"tags", "add", "Nowhere", "Tag"}, 1, "Please select Tag Group.\n"},
        {{"tags", "rename", "Priority", "Missing", "Other"}, 1, "Please, select Tag\n"},
        {{"tags", "move-down", "Priority", "Inessential"}, 1, "is the last tag of \"Priority\""},
        {Join(record, {"--tag", "Nowhere=Alpha"}), 1, "There is no tag group \"Nowhere\".\n"},
        {Join(record, {"--tag", "Projects=Omega"}), 1,
         "The group \"Projects\" has no tag \"Omega\""},
        {Join(record, {"--task", "Unknown task"}), 1, "There is no task \"Unknown task\".\n"},
        {Join(record, {"--contact", "Ann Lee", "--contact", "Nobody"}), 1, "no contact \"Nobody\""},
        {Join(record, {"--storage", "No Card"}), 1, "The storage \"No Card\" is not present.\n"},
        {Join(record, {"--tag", "NoEquals"}), 2, "--tag takes GROUP=TAG"},
        {Join(record, {"--info", "text"}), 2, "--info needs OUT"},
        {{"list", "--period", "fortnight"}, 2, "unknown period 'fortnight'"},
        {{"list", "--from", "2020-02-30", "--to", "2020-03-01"}, 2, "is not a day"},
        {{"list", "--from", "2020-01-01"}, 2, "--from needs --to"},
        {{"list", "--from", "2020-01-02", "--to", "2020-01-01"}, 2, "From must be earlier"},
        {{"list", "--period", "all", "--from", "2020-01-01", "--to", "2020-01-01"}, 2, "combined"},
        {{"list", "--tag", "Normal"}, 2, "is not GROUP=TAG"},
        {{"list", "--contact", " "}, 2, "--contact needs a non-empty value"},
        {{"config", "get", "Volume"}, 2, "unknown setting 'Volume'"},
        {{"config", "set", "Format", "6"}, 2, "Format must be a whole number"},
        {{"config", "set", "PimSource", "cloud"}, 2, "PimSource must be desktop, folder or both"},
        {{"config", "set", "ShowSplash", "no"}, 2, "ShowSplash must be true or false"},
        {{"config", "set", "Slot2", "Nowhere"}, 1, "Slot2 cannot show \"Nowhere\""},
        {{"config", "set", "Storage", "No Card"}, 1, "\"No Card\" is not present"},
        {{"config", "set", "OutputDevice", "Headset"}, 1, "\"Headset\" is not present"},
        {{"locations", "add", "  "}, 1, "enter a name"},
        {{"locations", "remove", "Office"}, 2, "unknown locations subcommand"},
        {{"rename", notes, "Meeting"}, 1, "not a record; nothing changed"},
        {{"delete", notes}, 1, "not a record; nothing changed"},
        {{"rename", stray, "Meeting"}, 1, "not in a record folder; nothing changed"},
        {{"delete", "--permanent", stray}, 1, "not in a record folder; nothing changed"},
    };
    for (const auto& [arguments, status, reason] : cases) {
        SCOPED_TRACE(arguments[0] + ' ' + arguments[1] + ' ' + arguments.back());
        const SCliResult result = cli.Run(arguments);
        EXPECT_EQ(result.exitCode, status);
        EXPECT_NE(result.err.find(reason), std::string::npos) << result.err;
        EXPECT_TRUE(result.out.empty()) << result.out;
        EXPECT_EQ(HomeFiles(), before);
    }
}

// The catalogue's placement rules are the store's; here: every subcommand reaches its edit,
// names are trimmed, a copy's name is printed and a renamed group's slot follows it.
TEST_F(CliStore, TagEditsReachTheCatalogueAndTheSlots)
{
    Ok({"config", "set", "Slot2", "Projects"});
    for (const Words& words :
         {Words{"add-first", "Projects", " Zero "}, Words{"move-down", "Projects", "Zero"},
          Words{"rename", "Projects", "Beta", "Gamma"}, Words{"delete", "Priority", "Normal"},
          Words{"add-group", "Spare"}, Words{"delete-group", "Spare"}})
        Ok(Join({"tags"}, words));
    EXPECT_EQ(Ok({"tags", "copy-group", "Projects"}).out, "Projects01\n");
    Ok({"tags", "rename-group", "Projects", "Work"});
    EXPECT_EQ(Ok({"tags", "list"}).out, "[Priority]\n  Important\n  Inessential\n"
                                        "[Work]\n  Alpha\n  Zero\n  Gamma\n"
                                        "[Projects01]\n  Alpha\n  Zero\n  Gamma\n");
    EXPECT_EQ(Ok({"config", "get", "Slot2"}).out, "Work\n");
}

// The very first command of a home may already select a default tag.
TEST(CliFirstUse, CreatesTheDefaultGroups)
{
    CCliRunner fresh;
    const SCliResult record = fresh.Run({"record", "--seconds", "1", "--tag", "Priority=Normal"});
    EXPECT_EQ(record.exitCode, 0) << record.err;
    EXPECT_EQ(ReadString(fresh.Home() + "/groups.dat"),
              "[Priority]\nImportant\nNormal\nInessential\n");
}

TEST_F(CliStore, PlacedRecordCarriesTheBlockItsSlotsCompose)
{
    const std::string path =
        Record({"--tag", "Projects=Beta", "--tag", "Priority=Important", "--tag", "Projects=Alpha",
                "--task", "Write report", "--contact", "Bob J. Bauer", "--contact", "Ann Lee"});
    EXPECT_TRUE(std::regex_match(path, std::regex(".*/Data/[0-9]{8}_[0-9]{6}\\.wav"))) << path;
    EXPECT_EQ(fs::path(path).parent_path(), fs::path(cli.Home()) / "Data");
    // Groups in the order they were named, each group's tags in catalogue order,
    // contacts in the order the contacts folder lists them.
    const std::string block = "*ParlantographerInfo*\n[[Tags]]\n[Projects]\nAlpha\nBeta\n"
                              "[Priority]\nImportant\n[[Tasks]]\nWrite report\n"
                              "[[Contacts]]\nAnn Lee\nBob J. Bauer\n";
    const std::string bytes = ReadString(path);
    ASSERT_EQ(bytes.size(), kRecordHeaderSize + 8000u);
    EXPECT_EQ(bytes.substr(kInfoAreaAt, 1024), block + std::string(1024 - block.size(), '\0'));

    // Without selections: the empty block, in the stored format.
    Ok({"config", "set", "Format", "2"});
    const std::string ogg = Record({});
    EXPECT_EQ(fs::path(ogg).extension(), ".ogg");
    const QJsonObject json = Json({"info", ogg, "--json"}).object();
    EXPECT_EQ(json["codec"].toString(), "speex");
    EXPECT_EQ(json["info"].toString(),
              "*ParlantographerInfo*\n[[Tags]]\n[[Tasks]]\n[[Contacts]]\n");
}

// The order, the dates and the names are the store's; here: the storages the command offers,
// one record on each, and what the listing prints of them.
TEST_F(CliStore, ListShowsTheRecordsOfEveryStorageWithTheirInformation)
{
    const std::string card = cli.Scratch("Card");
    fs::create_directories(card);
    cli.SetEnv("PARLANTOGRAPHER_CARDS", card);
    EXPECT_EQ(Ok({"storages"}).out, "Device memory\nCard\n");
    const std::string onCard = Record({"--storage", "Card", "--tag", "Priority=Normal"});
    EXPECT_EQ(fs::path(onCard).parent_path(), fs::path(card) / "Parlantographer" / "Data");
    const std::string inMemory = Record({"--task", "Call back", "--contact", "Ann Lee"});

    std::map<std::string, QJsonObject> listed;
    for (const QJsonValue& value : Json({"list", "--json"}).array())
        listed[value.toObject()["path"].toString().toStdString()] = value.toObject();
    ASSERT_EQ(listed.size(), 2u);
    const std::string name = fs::path(inMemory).filename().string();
    // MMDDYYYY_HHMMSS names the local moment the recording started.
    const std::string recorded = name.substr(4, 4) + "-" + name.substr(0, 2) + "-" +
                                 name.substr(2, 2) + "T" + name.substr(9, 2) + ":" +
                                 name.substr(11, 2) + ":" + name.substr(13, 2);
    EXPECT_EQ(listed[inMemory], (QJsonObject{{"path", QString::fromStdString(inMemory)},
                                             {"name", QString::fromStdString(name)},
                                             {"recorded", QString::fromStdString(recorded)},
                                             {"seconds", 1},
                                             {"tags", QJsonObject()},
                                             {"task", "Call back"},
                                             {"contacts", QJsonArray{"Ann Lee"}}}));
    EXPECT_EQ(listed[onCard]["tags"].toObject(), (QJsonObject{{"Priority", QJsonArray{"Normal"}}}));
    EXPECT_TRUE(listed[onCard]["task"].isNull());

    const std::string text = Ok({"list"}).out;
    EXPECT_NE(text.find("  tags [Priority]: Normal\n"), std::string::npos) << text;
    EXPECT_NE(text.find("  task: Call back\n  contacts: Ann Lee\n"), std::string::npos) << text;
}

TEST_F(CliStore, ListFiltersCombine)
{
    const std::string today =
        Record({"--task", "Call back", "--contact", "Ann Lee", "--tag", "Priority=Normal"});
    const std::string old = cli.Home() + "/Data/01012020_080000.wav";
    fs::copy_file(today, old);
    using Paths = std::vector<std::string>;
    const std::vector<std::pair<Words, Paths>> cases = {
        {{"--period", "today"}, {today}},
        {{"--from", "2020-01-01", "--to", "2020-01-01"}, {old}},
        {{"--contact", "ANN LEE", "--tag", "Priority=Normal", "--task", "call back", "--search",
          "normal", "--period", "month"},
         {today}},
        {{"--tag", "Projects=Normal"}, {}},
        {{"--search", "01012020"}, {old}},
    };
    for (const auto& [filters, expected] : cases) {
        Paths paths;
        for (const QJsonValue& value : Json(Join({"list", "--json"}, filters)).array())
            paths.push_back(value.toObject()["path"].toString().toStdString());
        EXPECT_EQ(paths, expected) << filters[0] << ' ' << filters[1];
    }
}

TEST_F(CliStore, RenameAndDeleteTouchRecordsOnly)
{
    const std::string record = Record({});
    const std::string folder = cli.Home() + "/Data/";
    EXPECT_EQ(Ok({"rename", record, "Meeting"}).out, folder + "Meeting.wav\n");
    EXPECT_FALSE(fs::exists(record));

    // A delete goes to the trash unless asked to be for good.
    Ok({"delete", folder + "Meeting.wav"});
    EXPECT_TRUE(fs::exists(cli.DataHome() + "/Trash/files/Meeting.wav"));
    const std::string copy = Record({});
    Ok({"delete", "--permanent", copy});
    EXPECT_FALSE(fs::exists(copy));
    EXPECT_FALSE(fs::exists(cli.DataHome() + "/Trash/files/" + fs::path(copy).filename().string()));
    EXPECT_TRUE(Json({"list", "--json"}).array().isEmpty());
}

// "memo\xE9.wav" and "memo\xEF\xBF\xBD.wav" look alike as text (U+FFFD): every command
// reaches the file whose bytes it was given, never the other.
TEST_F(CliStore, ANameThatIsNotUtf8ReachesOnlyItsOwnFile)
{
    const std::string record = Record({});
    const std::string latin = cli.Home() + "/Data/memo\xE9.wav";
    const std::string replacement = cli.Home() + "/Data/memo\xEF\xBF\xBD.wav";
    fs::copy_file(record, replacement);
    fs::rename(record, latin);
    const std::string before = ReadString(replacement);
    EXPECT_EQ(cli.RunBytes({"edit", latin, "--add-contact", "Bo"}), 0);
    EXPECT_NE(ReadString(latin).find("\nBo\n"), std::string::npos);
    EXPECT_EQ(cli.RunBytes({"delete", "--permanent", latin}), 0);
    EXPECT_FALSE(fs::exists(latin));
    EXPECT_TRUE(ReadString(replacement) == before) << "the look-alike was changed";
    fs::remove(replacement); // the temporary folder's removal could not spell it
}

TEST_F(CliStore, ConfigLocationsContactsAndTasksAreKeptAndListed)
{
    Ok({"config", "set", "Slot4", "Projects"});
    EXPECT_EQ(Ok({"config", "get", "Slot4"}).out, "Projects\n");
    EXPECT_EQ(Ok({"config", "get", "ShowSplash"}).out, "true\n");
    Ok({"config", "set", "ShowSplash", "false"});
    EXPECT_NE(Ok({"config", "list"}).out.find("Slot4=Projects\n"), std::string::npos);
    EXPECT_NE(Ok({"config", "list"}).out.find("ShowSplash=false\n"), std::string::npos);
    Ok({"locations", "add", " Office "});
    EXPECT_EQ(Ok({"locations", "list"}).out, "Office\n");
    EXPECT_EQ(Ok({"contacts"}).out, "Ann Lee\nBob J. Bauer\n");
    EXPECT_EQ(Ok({"tasks"}).out, "Call back\nWrite report\n");
}

} // namespace
