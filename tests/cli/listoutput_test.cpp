#include "cli/listoutput.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <gtest/gtest.h>

namespace {

RecordEntry Entry(const std::string& name, const QByteArray& body,
                  std::optional<std::uint64_t> samples)
{
    const QByteArray info = "*ParlantographerInfo*\n" + body;
    return RecordEntry{"/records/Data/" + name,
                       QString::fromStdString(name),
                       1024,
                       info.leftJustified(1024, '\0'),
                       std::nullopt,
                       samples};
}

// The array element as QJsonDocument writes the same values, which is what `list --json`
// printed before it printed each record as it was read.
std::string AsQtWrites(const SBrowsedRecord& record, const QJsonValue& seconds)
{
    QJsonObject tags;
    for (const QString& group : record.groups) {
        QJsonArray names;
        for (const SRecordTag& tag : record.tags) {
            if (tag.group == group && !names.contains(tag.tag))
                names.append(tag.tag);
        }
        tags.insert(group, names);
    }
    QStringList contacts = record.contacts;
    contacts.removeDuplicates();
    const QJsonObject object{
        {"contacts", QJsonArray::fromStringList(contacts)},
        {"name", record.fileName},
        {"path", QString::fromStdString(record.path)},
        {"recorded", record.recorded.isValid()
                         ? QJsonValue(record.recorded.toString("yyyy-MM-ddTHH:mm:ss"))
                         : QJsonValue(QJsonValue::Null)},
        {"seconds", seconds},
        {"tags", tags},
        {"task", record.task.isEmpty() ? QJsonValue(QJsonValue::Null) : QJsonValue(record.task)}};
    const QByteArray array = QJsonDocument(QJsonArray{object}).toJson(QJsonDocument::Indented);
    // Without the array's own first and last lines.
    return array.mid(2, array.size() - 5).toStdString();
}

TEST(ListOutput, JsonIsWrittenAsQtWritesItAndTextNamesEveryPart)
{
    const std::vector<std::pair<RecordEntry, QJsonValue>> records{
        {Entry("01042027_080000.wav",
               "[[Tags]]\n[Zeta]\nz\n[Priority]\nImportant\nImportant\n[Äpfel]\n[alpha]\na\n"
               "[[Tasks]]\nSay \"hi\" \\ now\tplease\n[[Contacts]]\nAnn Lee\nZoë 日本\nAnn Lee\n",
               96000),
         12},
        {Entry("Memo\x01.ogg", "[[Tags]]\n[[Tasks]]\n[[Contacts]]\n", std::nullopt), QJsonValue()},
    };
    for (const auto& [entry, seconds] : records) {
        const SBrowsedRecord record = CRecordBrowser::Browse(entry, QTimeZone::utc());
        std::string json;
        ListOutput::AppendJson(json, record);
        EXPECT_EQ(json, AsQtWrites(record, seconds));
    }

    std::string text;
    ListOutput::AppendText(text, CRecordBrowser::Browse(records[0].first, QTimeZone::utc()));
    EXPECT_EQ(text, "/records/Data/01042027_080000.wav\n"
                    "  name: 01042027_080000.wav\n"
                    "  recorded: 2027-01-04T08:00:00\n"
                    "  tags [Zeta]: z\n"
                    "  tags [Priority]: Important\n"
                    "  tags [Äpfel]: \n"
                    "  tags [alpha]: a\n"
                    "  task: Say \"hi\" \\ now\tplease\n"
                    "  contacts: Ann Lee, Zoë 日本\n");
}

} // namespace
