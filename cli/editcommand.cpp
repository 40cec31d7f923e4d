#include "cli/editcommand.h"

#include "cli/clicontext.h"
#include "cli/clistore.h"
#include "cli/commandfailure.h"
#include "cli/infotext.h"
#include "cli/usageerror.h"
#include "store/recordinfo.h"
#include "store/recordinfoedit.h"
#include "store/recordinfofile.h"

#include <QString>

namespace {

using RecordInfoEdit::EResult;

struct STag
{
    QString group;
    QString tag;
};

STag ParseTag(const std::string& option, const std::string& value)
{
    const std::size_t equals = value.find('=');
    if (equals == std::string::npos || equals == 0 || equals + 1 == value.size())
        throw CUsageError("--" + option + " takes GROUP=TAG, not '" + value + "'");
    return {QString::fromStdString(value.substr(0, equals)).trimmed(),
            QString::fromStdString(value.substr(equals + 1)).trimmed()};
}

std::string Quoted(const QString& text)
{
    return '"' + text.toStdString() + '"';
}

// One option applied to the block; the refusal's message, empty when it was applied.
std::string Apply(const std::string& option, const std::string& value, QString& block)
{
    const QString text = QString::fromStdString(value);
    EResult result = EResult::Done;
    std::string notHeld;
    if (option == "add-tag" || option == "remove-tag") {
        const STag tag = ParseTag(option, value);
        result = option == "add-tag" ? RecordInfoEdit::AddTag(tag.group, tag.tag, block)
                                     : RecordInfoEdit::RemoveTag(tag.group, tag.tag, block);
        notHeld =
            "The record has no tag " + Quoted(tag.tag) + " in the group " + Quoted(tag.group) + '.';
    } else if (option == "task") {
        result = RecordInfoEdit::SetTask(text, block);
    } else if (option == "no-task") {
        result = RecordInfoEdit::ClearTasks(block);
    } else if (option == "add-contact") {
        result = RecordInfoEdit::AddContact(text, block);
    } else if (option == "remove-contact") {
        result = RecordInfoEdit::RemoveContact(text, block);
        notHeld = "The record has no contact " + Quoted(text.trimmed()) + '.';
    }
    if (result == EResult::NotHeld)
        return notHeld;
    if (result != EResult::Done)
        return RecordInfoEdit::Message(result).toStdString();
    return {};
}

} // namespace

SCommand CEditCommand::Entry()
{
    return {"edit",
            "FILE [--add-tag GROUP=TAG]... [--remove-tag GROUP=TAG]... [--task SUBJECT | "
            "--no-task] [--add-contact NAME]... [--remove-contact NAME]...",
            "change the tags, task and contacts of a record, in the order given (the information "
            "editor)",
            {{"add-tag", true, true},
             {"remove-tag", true, true},
             {"task", true},
             {"no-task"},
             {"add-contact", true, true},
             {"remove-contact", true, true}},
            &Run};
}

int CEditCommand::Run(CCliContext& context, const CCommandLine& line)
{
    line.ExpectPositionals(1, 1);
    if (line.Has("task") && line.Has("no-task"))
        throw CUsageError("--task and --no-task exclude each other");
    if (line.Ordered().empty())
        throw CUsageError("nothing to change: give at least one option");
    // Wrong usage is told before the record is even looked at.
    for (const auto& [option, value] : line.Ordered()) {
        if (option == "add-tag" || option == "remove-tag")
            ParseTag(option, value);
    }
    const std::string& path = line.Positionals()[0];
    const std::filesystem::path record = context.Store().RecordInFolders(path);
    // Read, changed and written under the record's lock: an edit of another program at the
    // same moment is neither lost nor loses this one.
    std::string refusal;
    const RecordInfoFile::SResult result = RecordInfoFile::Update(
        context.Audio(), record, [&](const std::string& area) -> std::optional<QByteArray> {
            if (area.size() != InfoText::kCapacity || !RecordInfo::HasMarker(area)) {
                refusal = path + ": not a record made by this program; nothing written";
                return std::nullopt;
            }
            QString block = RecordInfo::DecodeRecordInfo(area);
            for (const auto& [option, value] : line.Ordered()) {
                refusal = Apply(option, value, block);
                if (!refusal.empty())
                    return std::nullopt;
            }
            // Saved as the editor saves: groups left without a tag go.
            const std::optional<QByteArray> changed =
                RecordInfo::EncodeRecordInfo(RecordInfoEdit::TidyTags(block));
            if (!changed)
                refusal = RecordInfo::kMsgDoesNotFit;
            return changed;
        });
    if (result.status == RecordInfoFile::EStatus::Refused)
        throw CCommandFailure(refusal);
    if (result.status != RecordInfoFile::EStatus::Written)
        throw CCommandFailure(result.message.toStdString());
    return 0;
}
