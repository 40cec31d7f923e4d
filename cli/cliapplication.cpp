#include "cli/cliapplication.h"

#include "audio/audioerror.h"
#include "cli/browsecommands.h"
#include "cli/clicontext.h"
#include "cli/commandfailure.h"
#include "cli/editcommand.h"
#include "cli/enginecommands.h"
#include "cli/exchangecommands.h"
#include "cli/recordcommand.h"
#include "cli/storecommands.h"
#include "cli/tagcommands.h"
#include "cli/usageerror.h"

#include <algorithm>
#include <ostream>
#include <span>

namespace {

constexpr const char* kProgram = "parlantographer-cli";

// `prefix` NAME FORM, a line for every form of a command.
void PrintForms(std::ostream& out, std::string_view prefix, const SCommand& command)
{
    std::string_view forms = command.usage;
    do {
        const std::size_t end = forms.find('\n');
        const std::string_view form = forms.substr(0, end);
        out << prefix << command.name << (form.empty() ? "" : " ") << form << '\n';
        forms = end == std::string_view::npos ? std::string_view() : forms.substr(end + 1);
    } while (!forms.empty());
}

} // namespace

CCliApplication::CCliApplication(std::ostream& out, std::ostream& err) : m_out(out), m_err(err)
{
    m_commands.push_back(CRecordCommand::Entry());
    for (auto& command : CEngineCommands::Table())
        m_commands.push_back(std::move(command));
    m_commands.push_back(CTagCommands::Entry());
    m_commands.push_back(CEditCommand::Entry());
    for (auto& command : CExchangeCommands::Table())
        m_commands.push_back(std::move(command));
    for (auto& command : CBrowseCommands::Table())
        m_commands.push_back(std::move(command));
    for (auto& command : CStoreCommands::Table())
        m_commands.push_back(std::move(command));
}

const SCommand* CCliApplication::Find(std::string_view name) const
{
    const auto found = std::find_if(m_commands.begin(), m_commands.end(),
                                    [&](const SCommand& command) { return command.name == name; });
    return found == m_commands.end() ? nullptr : &*found;
}

int CCliApplication::Run(const std::vector<std::string>& arguments)
{
    int status = 0;
    const SCommand* command = arguments.empty() ? nullptr : Find(arguments.front());
    try {
        status = Dispatch(arguments);
    } catch (const CUsageError& e) {
        m_err << kProgram << ": " << e.what() << '\n';
        PrintUsageHint(command);
        return 2;
    } catch (const CCommandFailure& e) {
        m_err << e.what() << '\n';
        status = 1;
    } catch (const CAudioError& e) {
        m_err << e.what() << '\n';
        status = 1;
    } catch (const std::exception& e) {
        m_err << kProgram << ": " << e.what() << '\n';
        status = 1;
    }
    // A full disk or a closed pipe on stdout is a failure too, not a silent success.
    m_out.flush();
    if (!m_out) {
        m_err << kProgram << ": cannot write the output\n";
        return 1;
    }
    return status;
}

int CCliApplication::Dispatch(const std::vector<std::string>& arguments)
{
    if (arguments.empty())
        throw CUsageError("no command given");
    const std::string& name = arguments.front();
    if (name == "--help" || name == "-h" || name == "help") {
        PrintHelp();
        return 0;
    }
    if (name == "--version") {
        m_out << kProgram << ' ' << PARLANTOGRAPHER_VERSION << '\n';
        return 0;
    }
    const SCommand* command = Find(name);
    if (!command)
        throw CUsageError("unknown command '" + name + "'");
    const std::span<const std::string> rest(arguments.begin() + 1, arguments.end());
    if (std::find(rest.begin(), rest.end(), "--help") != rest.end()) {
        PrintForms(m_out, std::string("usage: ") + kProgram + ' ', *command);
        return 0;
    }
    CCliContext context(m_out, m_err);
    const CCommandLine line(rest, command->options);
    return command->run(context, line);
}

void CCliApplication::PrintHelp() const
{
    m_out << "usage: " << kProgram << " COMMAND [ARGUMENTS]\n\n"
          << "Commands:\n";
    for (const SCommand& command : m_commands) {
        PrintForms(m_out, "  ", command);
        m_out << "      " << command.summary << '\n';
    }
    m_out << "\n  --help      this text (COMMAND --help: that command's usage)\n"
          << "  --version   the program's version\n\n"
          << "Exit status: 0 success, 1 failure (message on stderr), 2 wrong usage.\n";
}

void CCliApplication::PrintUsageHint(const SCommand* command) const
{
    if (command) {
        const std::string_view usage = command->usage;
        const std::string_view hint =
            command->hint.empty() ? usage.substr(0, usage.find('\n')) : command->hint;
        m_err << "usage: " << kProgram << ' ' << command->name << (hint.empty() ? "" : " ") << hint
              << '\n';
        return;
    }
    m_err << "usage: " << kProgram << " COMMAND [ARGUMENTS] (see " << kProgram << " --help)\n";
}
