#pragma once

// Runs a program against the desktop's personal-information service in a world of its own: a
// session bus of its own (dbus-run-session), on which the service starts by D-Bus activation,
// with a home, runtime, data, configuration and cache folder of its own, removed afterwards.
// The user's address books are never seen or touched, and it works as root on a machine with
// no desktop session. A process cannot change buses (GLib and the service's client library
// keep the first connection), so each world is a process.

#include "support/tempfolder.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <utility>
#include <vector>

namespace testsupport {

// Set inside the world, so that a program that starts itself there knows it is inside.
inline constexpr const char* kInsidePrivateSession = "PARLANTOGRAPHER_TEST_SESSION";

// The running program, however it was started.
inline std::string SelfPath()
{
    return std::filesystem::read_symlink("/proc/self/exe").string();
}

// Runs `command` and gives its exit status (1 when it did not end normally).
inline int RunCommand(std::vector<std::string> command)
{
    std::vector<char*> words;
    for (std::string& word : command)
        words.push_back(word.data());
    words.push_back(nullptr);
    const pid_t child = ::fork();
    if (child == 0) {
        ::execvp(words[0], words.data());
        std::fprintf(stderr, "cannot run %s: %s\n", words[0], std::strerror(errno));
        ::_exit(127);
    }
    int status = 0;
    if (child < 0 || ::waitpid(child, &status, 0) != child)
        return 1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : 1;
}

inline int RunInPrivateSession(const std::vector<std::string>& command)
{
    const CTempFolder root("parlantographer-session-");
    const std::filesystem::path home = root.Path() / "home";
    const std::filesystem::path runtime = root.Path() / "runtime";
    std::filesystem::create_directories(home);
    std::filesystem::create_directories(runtime);
    std::filesystem::permissions(runtime, std::filesystem::perms::owner_all);
    for (const auto& [name, path] : std::vector<std::pair<const char*, std::filesystem::path>>{
             {"HOME", home},
             {"XDG_RUNTIME_DIR", runtime},
             {"XDG_DATA_HOME", home / ".local/share"},
             {"XDG_CONFIG_HOME", home / ".config"},
             {"XDG_CACHE_HOME", home / ".cache"},
         })
        ::setenv(name, path.c_str(), 1);
    ::setenv(kInsidePrivateSession, "1", 1);
    ::unsetenv("DBUS_SESSION_BUS_ADDRESS");
    ::unsetenv("DISPLAY");
    ::unsetenv("WAYLAND_DISPLAY");
    std::vector<std::string> wrapped{"dbus-run-session", "--"};
    wrapped.insert(wrapped.end(), command.begin(), command.end());
    return RunCommand(wrapped);
}

} // namespace testsupport
