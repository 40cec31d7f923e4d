#include "cli/storecommands.h"

#include "audio/audiomanager.h"
#include "cli/clicontext.h"
#include "cli/clistore.h"
#include "cli/commandfailure.h"
#include "cli/configkeys.h"
#include "cli/usageerror.h"
#include "platform/wavebackend.h"

#include <ostream>

namespace {

void PrintLines(std::ostream& out, const QStringList& lines)
{
    for (const QString& line : lines)
        out << line.toStdString() << '\n';
}

// What was read is listed; a chosen store that could not be read fails the command.
void PrintPimLines(CCliContext& context, const QStringList& lines)
{
    PrintLines(context.Out(), lines);
    if (const QString problem = context.Store().PimSource().Problem(); !problem.isEmpty())
        throw CCommandFailure(problem.toStdString());
}

} // namespace

std::vector<SCommand> CStoreCommands::Table()
{
    return {
        {"locations", "list\nadd NAME", "the named locations", {}, &Locations, "list|add NAME"},
        {"contacts",
         "",
         "the contacts of the desktop's address books and/or the folder (PimSource)",
         {},
         &Contacts},
        {"tasks",
         "",
         "the tasks of the desktop's task lists and/or the folder (PimSource)",
         {},
         &Tasks},
        {"storages", "", "the storages a record can be placed on", {}, &Storages},
        {"config",
         "list\nget KEY\nset KEY VALUE",
         "the stored settings (keys: Slot1..Slot4, Format, Storage, AppPath, PimFolder, "
         "PimSource, InputDevice, OutputDevice)",
         {},
         &Config,
         "list|get KEY|set KEY VALUE"},
    };
}

int CStoreCommands::Locations(CCliContext& context, const CCommandLine& line)
{
    line.ExpectPositionals(1, 2);
    const std::string& sub = line.Positionals()[0];
    const CLocationList& locations = context.Store().Locations();
    if (sub == "list") {
        line.ExpectPositionals(1, 1);
        PrintLines(context.Out(), locations.FillLocations());
        return 0;
    }
    if (sub != "add")
        throw CUsageError("unknown locations subcommand '" + sub + "'");
    line.ExpectPositionals(2, 2);
    const QString name = QString::fromStdString(line.Positionals()[1]).trimmed();
    // A nameless line would show as an empty row that cannot be told from the others.
    if (name.isEmpty())
        throw CCommandFailure(CTagCatalogue::kMsgEnterName);
    if (const QString refusal = CLocationList::Refusal(name); !refusal.isEmpty())
        throw CCommandFailure(refusal.toStdString());
    if (!locations.AddLocation(name))
        throw CCommandFailure(locations.WriteFailureMessage().toStdString());
    return 0;
}

int CStoreCommands::Contacts(CCliContext& context, const CCommandLine& line)
{
    line.ExpectPositionals(0, 0);
    PrintPimLines(context, context.Store().Pim().FillContacts());
    return 0;
}

int CStoreCommands::Tasks(CCliContext& context, const CCommandLine& line)
{
    line.ExpectPositionals(0, 0);
    PrintPimLines(context, context.Store().Pim().FillTasks());
    return 0;
}

int CStoreCommands::Storages(CCliContext& context, const CCommandLine& line)
{
    line.ExpectPositionals(0, 0);
    PrintLines(context.Out(), context.Store().Storage().StorageList());
    return 0;
}

int CStoreCommands::Config(CCliContext& context, const CCommandLine& line)
{
    line.ExpectPositionals(1, 3);
    const std::string& sub = line.Positionals()[0];
    CConfigKeys keys(context.Store(), [&context](EWaveDirection direction) {
        return context.Audio().GetWaveBackend().Devices(direction);
    });
    if (sub == "list") {
        line.ExpectPositionals(1, 1);
        for (const std::string_view key : CConfigKeys::Names())
            context.Out() << key << '=' << keys.Get(key).toStdString() << '\n';
        return 0;
    }
    if (sub == "get") {
        line.ExpectPositionals(2, 2);
        context.Out() << keys.Get(line.Positionals()[1]).toStdString() << '\n';
        return 0;
    }
    if (sub == "set") {
        line.ExpectPositionals(3, 3);
        keys.Set(line.Positionals()[1], QString::fromStdString(line.Positionals()[2]));
        return 0;
    }
    throw CUsageError("unknown config subcommand '" + sub + "'");
}
