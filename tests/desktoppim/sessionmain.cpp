// The main of the tests against the desktop's personal-information service: every test runs
// in a world of its own (support/privatesession.h), so each meets a service that holds only
// what it added. Listing the tests needs no service.

#include "support/guitests.h"
#include "support/privatesession.h"

#include <algorithm>
#include <memory>

namespace {

// The full names of the tests the arguments select, as gtest lists them.
std::vector<std::string> SelectedTests(const std::vector<std::string>& arguments)
{
    std::string command = testsupport::SelfPath() + " --gtest_list_tests";
    for (const std::string& argument : arguments)
        command += " '" + argument + "'";
    std::vector<std::string> tests;
    const std::unique_ptr<FILE, int (*)(FILE*)> list(::popen(command.c_str(), "r"), ::pclose);
    std::string suite;
    char line[1024];
    while (list && std::fgets(line, sizeof line, list.get())) {
        std::string text(line);
        text = text.substr(0, text.find_first_of("#\n"));
        text = text.substr(0, text.find_last_not_of(' ') + 1);
        if (text.empty())
            continue;
        if (text[0] != ' ')
            suite = text;
        else
            tests.push_back(suite + text.substr(text.find_first_not_of(' ')));
    }
    return tests;
}

void AppendOption(const char* variable, const std::string& option)
{
    const char* options = std::getenv(variable);
    ::setenv(variable, ((options ? std::string(options) + ":" : std::string()) + option).c_str(),
             1);
}

} // namespace

int main(int argc, char** argv)
{
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    const bool listing =
        std::find(arguments.begin(), arguments.end(), "--gtest_list_tests") != arguments.end();
    if (std::getenv(testsupport::kInsidePrivateSession) == nullptr && !listing) {
        // For the test and every program it starts, when built with the leak checker: the
        // service's own leaks are told by their library, which only the full unwinder reaches.
        AppendOption("LSAN_OPTIONS", "suppressions=" PARLANTOGRAPHER_LSAN_SUPPRESSIONS);
        AppendOption("ASAN_OPTIONS", "fast_unwind_on_malloc=0");
        const std::vector<std::string> tests = SelectedTests(arguments);
        int status = tests.empty() ? 1 : 0;
        for (const std::string& test : tests) {
            std::vector<std::string> command{testsupport::SelfPath()};
            command.insert(command.end(), arguments.begin(), arguments.end());
            command.push_back("--gtest_filter=" + test);
            if (testsupport::RunInPrivateSession(command) != 0)
                status = 1;
        }
        return status;
    }
    return testsupport::RunGuiTests(argc, argv);
}
