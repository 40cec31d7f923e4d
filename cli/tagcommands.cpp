#include "cli/tagcommands.h"

#include "cli/clicontext.h"
#include "cli/clistore.h"
#include "cli/commandfailure.h"
#include "cli/usageerror.h"
#include "store/linefile.h"
#include "store/tagcatalogue.h"
#include "store/taggroupactions.h"

#include <QFileInfo>
#include <ostream>

namespace {

// The tag manager's messages for a missing selection: here, a name that is not there.
constexpr const char* kMsgSelectGroup = "Please select Tag Group.";
constexpr const char* kMsgSelectGroupToRename = "Please, select a Tag Group to rename";
constexpr const char* kMsgSelectTag = "Please, select Tag";

struct SSubcommand
{
    std::string_view name;
    std::size_t arguments;
};

constexpr SSubcommand kSubcommands[] = {
    {"list", 0},         {"add-group", 1},    {"add", 2},    {"add-first", 2}, {"rename", 3},
    {"rename-group", 2}, {"delete-group", 1}, {"delete", 2}, {"move-down", 2}, {"copy-group", 1},
};

QString Argument(const CCommandLine& line, std::size_t index)
{
    return QString::fromStdString(line.Positionals()[index]).trimmed();
}

void Check(bool written, const CTagCatalogue& tags)
{
    if (!written)
        throw CCommandFailure(tags.WriteFailureMessage().toStdString());
}

void RequireGroup(const CTagCatalogue& tags, const QString& group, const char* message)
{
    if (group.isEmpty() || !tags.GroupExists(group))
        throw CCommandFailure(message);
}

void RequireTag(const CTagCatalogue& tags, const QString& group, const QString& tag)
{
    RequireGroup(tags, group, kMsgSelectGroup);
    if (tag.isEmpty() || !tags.TagExists(group, tag))
        throw CCommandFailure(kMsgSelectTag);
}

void CheckResult(ECatalogueResult result, bool forGroup)
{
    if (result != ECatalogueResult::Ok)
        throw CCommandFailure(CTagCatalogue::Message(result, forGroup).toStdString());
}

} // namespace

SCommand CTagCommands::Entry()
{
    return {"tags",
            "list\nadd-group G\nadd G T\nadd-first G T\nrename-group OLD NEW\nrename G OLD NEW\n"
            "delete-group G\ndelete G T\nmove-down G T\ncopy-group G",
            "show and edit the tag groups and their tags (the tag manager)",
            {},
            &Run,
            "list|add-group G|add G T|add-first G T|rename-group OLD NEW|rename G OLD NEW|"
            "delete-group G|delete G T|move-down G T|copy-group G"};
}

int CTagCommands::Run(CCliContext& context, const CCommandLine& line)
{
    line.ExpectPositionals(1, 4);
    const std::string& name = line.Positionals()[0];
    const SSubcommand* sub = nullptr;
    for (const SSubcommand& candidate : kSubcommands) {
        if (candidate.name == name)
            sub = &candidate;
    }
    if (!sub)
        throw CUsageError("unknown tags subcommand '" + name + "'");
    line.ExpectPositionals(1 + sub->arguments, 1 + sub->arguments);

    const CTagCatalogue& tags = context.Store().Tags();
    if (name == "list")
        return List(context, tags);
    if (name == "add-group")
        return AddGroup(tags, Argument(line, 1));
    if (name == "add" || name == "add-first")
        return AddTag(tags, Argument(line, 1), Argument(line, 2), name == "add-first");
    if (name == "rename-group")
        return RenameGroup(context, Argument(line, 1), Argument(line, 2));
    if (name == "rename")
        return RenameTag(tags, Argument(line, 1), Argument(line, 2), Argument(line, 3));
    if (name == "delete-group")
        return DeleteGroup(tags, Argument(line, 1));
    if (name == "delete")
        return DeleteTag(tags, Argument(line, 1), Argument(line, 2));
    if (name == "move-down")
        return MoveDown(tags, Argument(line, 1), Argument(line, 2));
    return CopyGroup(context, tags, Argument(line, 1));
}

int CTagCommands::List(CCliContext& context, const CTagCatalogue& tags)
{
    // An empty listing would claim there are no tags: something unreadable in the
    // catalogue's place (a FIFO, a folder) is a failure.
    if (!LineFile::ReadBytes(tags.Path()) && QFileInfo::exists(tags.Path()))
        throw CCommandFailure(tags.Path().toStdString() + ": cannot be read as the tags file");
    for (const auto& [group, groupTags] : tags.ListAll()) {
        context.Out() << '[' << group.toStdString() << "]\n";
        for (const QString& tag : groupTags)
            context.Out() << "  " << tag.toStdString() << '\n';
    }
    return 0;
}

int CTagCommands::AddGroup(const CTagCatalogue& tags, const QString& group)
{
    CheckResult(tags.AddGroup(group), true);
    return 0;
}

int CTagCommands::AddTag(const CTagCatalogue& tags, const QString& group, const QString& tag,
                         bool first)
{
    // Without its group the tag would land at the end of the file, under whatever
    // group happens to be last.
    RequireGroup(tags, group, kMsgSelectGroup);
    CheckResult(first ? tags.AddTagFirst(group, tag) : tags.AddTag(group, tag), false);
    return 0;
}

int CTagCommands::RenameGroup(CCliContext& context, const QString& oldName, const QString& newName)
{
    const CTagCatalogue& tags = context.Store().Tags();
    RequireGroup(tags, oldName, kMsgSelectGroupToRename);
    CSettingsStore& settings = context.Store().Settings();
    QStringList kinds;
    for (int slot = 0; slot < CSettingsStore::kSlotCount; ++slot)
        kinds.append(settings.Slot(slot));
    CheckResult(TagGroupActions::RenameGroup(tags, oldName, newName, kinds), true);
    // Slots showing the group follow it to its new name, as the tag manager's OK does.
    for (int slot = 0; slot < CSettingsStore::kSlotCount; ++slot) {
        if (kinds[slot] != settings.Slot(slot) && !settings.SetSlot(slot, kinds[slot]))
            throw CCommandFailure(settings.WriteFailureMessage().toStdString());
    }
    return 0;
}

int CTagCommands::RenameTag(const CTagCatalogue& tags, const QString& group, const QString& oldTag,
                            const QString& newTag)
{
    RequireTag(tags, group, oldTag);
    CheckResult(TagGroupActions::RenameTag(tags, group, oldTag, newTag), false);
    return 0;
}

int CTagCommands::DeleteGroup(const CTagCatalogue& tags, const QString& group)
{
    RequireGroup(tags, group, kMsgSelectGroup);
    Check(tags.DeleteGroup(group), tags);
    return 0;
}

int CTagCommands::DeleteTag(const CTagCatalogue& tags, const QString& group, const QString& tag)
{
    RequireTag(tags, group, tag);
    Check(tags.DeleteTag(group, tag), tags);
    return 0;
}

int CTagCommands::MoveDown(const CTagCatalogue& tags, const QString& group, const QString& tag)
{
    RequireTag(tags, group, tag);
    switch (tags.MoveTagDown(group, tag)) {
    case EMoveResult::Moved:
        return 0;
    case EMoveResult::NotMoved:
        throw CCommandFailure("\"" + tag.toStdString() + "\" is the last tag of \"" +
                              group.toStdString() + "\"; nothing moved.");
    case EMoveResult::WriteFailed:
        break;
    }
    throw CCommandFailure(tags.WriteFailureMessage().toStdString());
}

int CTagCommands::CopyGroup(CCliContext& context, const CTagCatalogue& tags, const QString& group)
{
    RequireGroup(tags, group, kMsgSelectGroup);
    const QString copy = tags.MakeCopyName(group);
    CheckResult(TagGroupActions::CopyGroup(tags, group, copy), true);
    context.Out() << copy.toStdString() << '\n';
    return 0;
}
