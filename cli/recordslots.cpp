#include "cli/recordslots.h"

#include "cli/clistore.h"
#include "cli/commandfailure.h"
#include "cli/commandline.h"
#include "cli/usageerror.h"
#include "store/slotkind.h"

namespace RecordSlots {

namespace {

// A slot listing `items` with every text of `chosen` selected; `missing` names what is
// not listed.
RecordInfo::SSlotSelection Slot(const QString& kind, const QStringList& items,
                                const QStringList& chosen,
                                const std::function<std::string(const QString&)>& missing)
{
    RecordInfo::SSlotSelection slot{kind, items, {}, true};
    for (const QString& item : items)
        slot.selected.append(chosen.contains(item));
    for (const QString& text : chosen) {
        if (!items.contains(text))
            throw CCommandFailure(missing(text));
    }
    return slot;
}

QString Quoted(const QString& text)
{
    return '"' + text + '"';
}

// "There is no ..." says why when a chosen store could not be read.
std::string Missing(const CCliStore& store, const QString& what, const QString& text)
{
    std::string message =
        "There is no " + what.toStdString() + " " + Quoted(text).toStdString() + ".";
    if (const QString problem = store.PimSource().Problem(); !problem.isEmpty())
        message += "\n" + problem.toStdString();
    return message;
}

} // namespace

std::pair<QString, QString> SplitTagOption(std::string_view text)
{
    const std::size_t equals = text.find('=');
    if (equals == std::string_view::npos)
        throw CUsageError("--tag takes GROUP=TAG, not '" + std::string(text) + "'");
    const QString group = QString::fromUtf8(text.substr(0, equals)).trimmed();
    const QString tag = QString::fromUtf8(text.substr(equals + 1)).trimmed();
    if (group.isEmpty() || tag.isEmpty())
        throw CUsageError("--tag takes GROUP=TAG, not '" + std::string(text) + "'");
    return {group, tag};
}

QList<RecordInfo::SSlotSelection> FromOptions(const CCommandLine& line, const CCliStore& store)
{
    QStringList groups;
    QList<QStringList> chosenTags;
    for (const std::string& option : line.Values("tag")) {
        const auto [group, tag] = SplitTagOption(option);
        qsizetype at = groups.indexOf(group);
        if (at < 0) {
            groups.append(group);
            chosenTags.append(QStringList());
            at = groups.size() - 1;
        }
        chosenTags[at].append(tag);
    }

    QList<RecordInfo::SSlotSelection> selections;
    const CTagCatalogue& catalogue = store.Tags();
    for (qsizetype i = 0; i < groups.size(); ++i) {
        const QString& group = groups[i];
        if (!catalogue.GroupExists(group))
            throw CCommandFailure("There is no tag group " + Quoted(group).toStdString() + ".");
        selections.append(
            Slot(group, catalogue.ListTagsOfGroup(group), chosenTags[i], [&](const QString& tag) {
                return "The group " + Quoted(group).toStdString() + " has no tag " +
                       Quoted(tag).toStdString() + ".";
            }));
    }
    if (const auto task = line.Value("task")) {
        const QStringList tasks = store.Pim().FillTasks();
        selections.append(Slot(CSlotKind::kTask, tasks, {QString::fromStdString(*task).trimmed()},
                               [&](const QString& subject) {
                                   return Missing(store, QStringLiteral("task"), subject);
                               }));
    }
    const std::vector<std::string> contactOptions = line.Values("contact");
    if (!contactOptions.empty()) {
        const QStringList contacts = store.Pim().FillContacts();
        QStringList chosen;
        for (const std::string& name : contactOptions)
            chosen.append(QString::fromStdString(name).trimmed());
        selections.append(Slot(CSlotKind::kContacts, contacts, chosen, [&](const QString& name) {
            return Missing(store, QStringLiteral("contact"), name);
        }));
    }
    return selections;
}

} // namespace RecordSlots
