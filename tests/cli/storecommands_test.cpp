#include "clirunner.h"

#include <QByteArray>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <filesystem>
#include <gtest/gtest.h>
#include <map>
#include <regex>

namespace {

using namespace testsupport;

const std::string kDefaultGroups = "[Priority]\nImportant\nNormal\nInessential\n";

// A home with two contacts, two tasks and the tag group Projects (Alpha, Beta) next to
// the default Priority group.
class CliStore : public ::testing::Test
{
protected:
    void SetUp() override
    {
        std::filesystem::create_directories(cli.Pim() + "/contacts");
        std::filesystem::create_directories(cli.Pim() + "/tasks");
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

    SCliResult Ok(const std::vector<std::string>& arguments)
    {
        SCliResult result = cli.Run(arguments);
        EXPECT_EQ(result.exitCode, 0) << arguments.front() << ": " << result.err;
        return result;
    }

    std::string Groups() const { return ReadString(cli.Home() + "/groups.dat"); }

    QJsonDocument Json(const std::vector<std::string>& arguments)
    {
        const std::string out = Ok(arguments).out;
        QJsonParseError error;
        const QJsonDocument document =
            QJsonDocument::fromJson(QByteArray::fromStdString(out), &error);
        EXPECT_EQ(error.error, QJsonParseError::NoError) << out;
        return document;
    }

    // Records and returns the path the program reports.
    std::string Record(std::vector<std::string> options)
    {
        options.insert(options.begin(), {"record", "--seconds", "1"});
        const std::string out = Ok(options).out;
        EXPECT_FALSE(out.empty());
        return out.substr(0, out.find('\n'));
    }

    CCliRunner cli;
};

// The catalogue's own refusals are the store's; these are the command's, and one of the
// catalogue's to show its message reaches the user.
TEST_F(CliStore, TagRefusalsPrintTheirMessageAndChangeNothing)
{
    const std::string before = Groups();
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
        {{"add", "Priority", "Normal"}, "Tag name already exist.\nPlease enter another name.\n"},
        {{"add", "Nowhere", "Tag"}, "Please select Tag Group.\n"},
        {{"rename-group", "Nowhere", "Else"}, "Please, select a Tag Group to rename\n"},
        {{"rename", "Priority", "Missing", "Other"}, "Please, select Tag\n"},
        {{"delete-group", "Nowhere"}, "Please select Tag Group.\n"},
        {{"move-down", "Priority", "Inessential"},
         "\"Inessential\" is the last tag of \"Priority\"; nothing moved.\n"},
    };
    for (auto [arguments, message] : cases) {
        arguments.insert(arguments.begin(), "tags");
        const SCliResult result = cli.Run(arguments);
        EXPECT_EQ(result.exitCode, 1) << arguments[1] << ' ' << arguments[2];
        EXPECT_EQ(result.err, message) << arguments[1] << ' ' << arguments[2];
    }
    EXPECT_EQ(Groups(), before);
}

TEST_F(CliStore, TagEditsFollowTheCataloguesPlacementRules)
{
    Ok({"config", "set", "Slot2", "Projects"});
    Ok({"tags", "add-first", "Projects", " Zero "});
    Ok({"tags", "add", "Priority", " Urgent "});
    Ok({"tags", "move-down", "Projects", "Zero"});
    Ok({"tags", "rename", "Projects", "Beta", "Gamma"});
    EXPECT_EQ(Ok({"tags", "copy-group", "Projects"}).out, "Projects01\n");
    EXPECT_EQ(Ok({"tags", "copy-group", "Projects"}).out, "Projects02\n");
    Ok({"tags", "delete", "Priority", "Normal"});
    Ok({"tags", "delete-group", "Projects01"});
    Ok({"tags", "rename-group", "Projects", "Work"});
    EXPECT_EQ(Groups(), "[Priority]\nImportant\nInessential\nUrgent\n"
                        "[Work]\nAlpha\nZero\nGamma\n"
                        "[Projects02]\nAlpha\nZero\nGamma\n");
    EXPECT_EQ(Ok({"tags", "list"}).out, "[Priority]\n  Important\n  Inessential\n  Urgent\n"
                                        "[Work]\n  Alpha\n  Zero\n  Gamma\n"
                                        "[Projects02]\n  Alpha\n  Zero\n  Gamma\n");
    // The slot that showed the renamed group follows it.
    EXPECT_EQ(Ok({"config", "get", "Slot2"}).out, "Work\n");
}

TEST(CliFirstUse, CreatesTheDefaultGroups)
{
    // The very first command of a home may already select a default tag.
    CCliRunner fresh;
    const SCliResult record = fresh.Run({"record", "--seconds", "1", "--tag", "Priority=Normal"});
    EXPECT_EQ(record.exitCode, 0) << record.err;
    EXPECT_EQ(ReadString(fresh.Home() + "/groups.dat"), kDefaultGroups);
    const SCliResult list = CCliRunner().Run({"tags", "list"});
    EXPECT_EQ(list.exitCode, 0) << list.err;
    EXPECT_EQ(list.out, "[Priority]\n  Important\n  Normal\n  Inessential\n");
}

TEST_F(CliStore, PlacedRecordCarriesTheBlockItsSlotsCompose)
{
    const std::string path =
        Record({"--tag", "Projects=Beta", "--tag", "Priority=Important", "--tag", "Projects=Alpha",
                "--task", "Write report", "--contact", "Bob J. Bauer", "--contact", "Ann Lee"});
    EXPECT_TRUE(std::regex_match(path, std::regex(".*/Data/[0-9]{8}_[0-9]{6}\\.wav"))) << path;
    EXPECT_EQ(std::filesystem::path(path).parent_path(),
              std::filesystem::path(cli.Home()) / "Data");
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
    EXPECT_EQ(std::filesystem::path(ogg).extension(), ".ogg");
    const QJsonObject json = Json({"info", ogg, "--json"}).object();
    EXPECT_EQ(json["codec"].toString(), "speex");
    EXPECT_EQ(json["info"].toString(),
              "*ParlantographerInfo*\n[[Tags]]\n[[Tasks]]\n[[Contacts]]\n");
}

TEST_F(CliStore, PlacedRecordRefusalsRecordNothing)
{
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
        {{"--tag", "Nowhere=Alpha"}, "There is no tag group \"Nowhere\".\n"},
        {{"--tag", "Projects=Omega"}, "The group \"Projects\" has no tag \"Omega\".\n"},
        {{"--task", "Unknown task"}, "There is no task \"Unknown task\".\n"},
        {{"--contact", "Ann Lee", "--contact", "Nobody"}, "There is no contact \"Nobody\".\n"},
        {{"--storage", "No Card"}, "The storage \"No Card\" is not present.\n"},
    };
    for (auto [arguments, message] : cases) {
        arguments.insert(arguments.begin(), {"record", "--seconds", "1"});
        const SCliResult result = cli.Run(arguments);
        EXPECT_EQ(result.exitCode, 1) << message;
        EXPECT_EQ(result.err, message);
        EXPECT_TRUE(result.out.empty());
    }
    EXPECT_TRUE(Json({"list", "--json"}).array().isEmpty());
    EXPECT_EQ(cli.Run({"record", "--seconds", "1", "--tag", "NoEquals"}).exitCode, 2);
    EXPECT_EQ(cli.Run({"record", "--seconds", "1", "--info", "text"}).exitCode, 2);
}

// The order, the dates and the names are the store's; here: the storages the command offers,
// one record on each, and what the listing prints of them.
TEST_F(CliStore, ListShowsTheRecordsOfEveryStorageWithTheirInformation)
{
    const std::string card = cli.Scratch("Card");
    std::filesystem::create_directories(card);
    cli.SetEnv("PARLANTOGRAPHER_CARDS", card);
    EXPECT_EQ(Ok({"storages"}).out, "Device memory\nCard\n");
    const std::string onCard = Record({"--storage", "Card", "--tag", "Priority=Normal"});
    EXPECT_EQ(std::filesystem::path(onCard).parent_path(),
              std::filesystem::path(card) / "Parlantographer" / "Data");
    const std::string inMemory = Record({"--task", "Call back", "--contact", "Ann Lee"});

    std::map<std::string, QJsonObject> listed;
    for (const QJsonValue& value : Json({"list", "--json"}).array())
        listed[value.toObject()["path"].toString().toStdString()] = value.toObject();
    ASSERT_EQ(listed.size(), 2u);
    const QJsonObject first = listed[inMemory];
    const std::string name = std::filesystem::path(inMemory).filename().string();
    EXPECT_EQ(first["name"].toString().toStdString(), name);
    // MMDDYYYY_HHMMSS names the local moment the recording started.
    EXPECT_EQ(first["recorded"].toString().toStdString(),
              name.substr(4, 4) + "-" + name.substr(0, 2) + "-" + name.substr(2, 2) + "T" +
                  name.substr(9, 2) + ":" + name.substr(11, 2) + ":" + name.substr(13, 2));
    EXPECT_EQ(first["seconds"].toInt(), 1);
    EXPECT_EQ(first["tags"].toObject(), QJsonObject());
    EXPECT_EQ(first["task"].toString(), "Call back");
    EXPECT_EQ(first["contacts"].toArray(), QJsonArray{"Ann Lee"});
    EXPECT_EQ(listed[onCard]["tags"].toObject(), (QJsonObject{{"Priority", QJsonArray{"Normal"}}}));
    EXPECT_TRUE(listed[onCard]["task"].isNull());

    const std::string text = Ok({"list"}).out;
    EXPECT_NE(text.find("  tags [Priority]: Normal\n"), std::string::npos) << text;
    EXPECT_NE(text.find("  task: Call back\n  contacts: Ann Lee\n"), std::string::npos) << text;
}

TEST_F(CliStore, ListFiltersCombineAndBadFiltersAreUsageErrors)
{
    const std::string today =
        Record({"--task", "Call back", "--contact", "Ann Lee", "--tag", "Priority=Normal"});
    const std::string old = cli.Home() + "/Data/01012020_080000.wav";
    std::filesystem::copy_file(today, old);
    const auto listed = [&](std::vector<std::string> filters) {
        filters.insert(filters.begin(), {"list", "--json"});
        std::vector<std::string> paths;
        for (const QJsonValue& value : Json(filters).array())
            paths.push_back(value.toObject()["path"].toString().toStdString());
        return paths;
    };
    using Paths = std::vector<std::string>;
    EXPECT_EQ(listed({"--period", "today"}), Paths{today});
    EXPECT_EQ(listed({"--period", "all"}), (Paths{old, today}));
    EXPECT_EQ(listed({"--from", "2020-01-01", "--to", "2020-01-01"}), Paths{old});
    EXPECT_EQ(listed({"--contact", "ANN LEE", "--tag", "Priority=Normal", "--task", "call back",
                      "--search", "normal", "--period", "month"}),
              Paths{today});
    EXPECT_EQ(listed({"--tag", "Projects=Normal"}), Paths{});
    EXPECT_EQ(listed({"--search", "01012020"}), Paths{old});

    for (const std::vector<std::string>& wrong : std::vector<std::vector<std::string>>{
             {"list", "--period", "fortnight"},
             {"list", "--from", "2020-02-30", "--to", "2020-03-01"},
             {"list", "--from", "2020-01-01"},
             {"list", "--from", "2020-01-02", "--to", "2020-01-01"},
             {"list", "--period", "today", "--from", "2020-01-01", "--to", "2020-01-01"},
             {"list", "--tag", "Normal"},
             {"list", "--contact", " "},
         }) {
        const SCliResult result = cli.Run(wrong);
        EXPECT_EQ(result.exitCode, 2) << wrong[1] << ' ' << wrong[2];
        EXPECT_TRUE(result.out.empty());
    }
}

TEST_F(CliStore, RenameAndDeleteTouchRecordsOnly)
{
    const std::string record = Record({});
    const std::string folder = cli.Home() + "/Data/";
    const std::string text = folder + "notes.wav";
    WriteString(text, "not a record");
    EXPECT_EQ(cli.Run({"rename", text, "Meeting"}).exitCode, 1);
    EXPECT_EQ(cli.Run({"delete", text}).exitCode, 1);
    EXPECT_EQ(ReadString(text), "not a record");

    EXPECT_EQ(Ok({"rename", record, "Meeting"}).out, folder + "Meeting.wav\n");
    EXPECT_FALSE(std::filesystem::exists(record));
    const std::string copy = Record({});
    EXPECT_EQ(cli.Run({"rename", copy, "Meeting"}).err, "File already exists!\n");

    // A delete goes to the trash unless asked to be for good.
    Ok({"delete", folder + "Meeting.wav"});
    EXPECT_TRUE(std::filesystem::exists(cli.DataHome() + "/Trash/files/Meeting.wav"));
    Ok({"delete", "--permanent", copy});
    EXPECT_FALSE(std::filesystem::exists(copy));
    EXPECT_FALSE(std::filesystem::exists(cli.DataHome() + "/Trash/files/" +
                                         std::filesystem::path(copy).filename().string()));
    EXPECT_TRUE(Json({"list", "--json"}).array().isEmpty());
}

TEST_F(CliStore, ConfigSetsWhatTheProgramCanUseAndRefusesTheRest)
{
    Ok({"config", "set", "Slot4", "Projects"});
    EXPECT_EQ(Ok({"config", "get", "Slot4"}).out, "Projects\n");
    EXPECT_NE(Ok({"config", "list"}).out.find("Slot4=Projects\n"), std::string::npos);
    for (const auto& [arguments, exitCode] : std::vector<std::pair<std::vector<std::string>, int>>{
             {{"config", "get", "Volume"}, 2},
             {{"config", "set", "Format", "6"}, 2},
             {{"config", "get"}, 2},
             {{"config", "set", "Slot1", "None"}, 1},
             {{"config", "set", "Slot2", "Nowhere"}, 1},
             {{"config", "set", "Slot2", "Task"}, 1},
             {{"config", "set", "Storage", "No Card"}, 1},
             {{"config", "set", "OutputDevice", "Headset"}, 1},
         })
        EXPECT_EQ(cli.Run(arguments).exitCode, exitCode) << arguments[1] << ' ' << arguments.back();
    EXPECT_EQ(Ok({"config", "get", "Slot2"}).out, "Contacts\n");
}

TEST_F(CliStore, LocationsContactsAndTasksAreListed)
{
    EXPECT_EQ(Ok({"locations", "list"}).out, "");
    Ok({"locations", "add", " Office "});
    Ok({"locations", "add", "Office"});
    EXPECT_EQ(Ok({"locations", "list"}).out, "Office\nOffice\n");
    EXPECT_EQ(cli.Run({"locations", "add", "  "}).exitCode, 1);
    EXPECT_EQ(cli.Run({"locations", "remove", "Office"}).exitCode, 2);
    EXPECT_EQ(Ok({"contacts"}).out, "Ann Lee\nBob J. Bauer\n");
    EXPECT_EQ(Ok({"tasks"}).out, "Call back\nWrite report\n");
}

} // namespace
