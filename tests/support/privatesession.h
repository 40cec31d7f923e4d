#pragma once

// Runs a program against the desktop's personal-information service in a world of its own: a
// session bus of its own (dbus-run-session), on which the service starts by D-Bus activation,
// with a home, runtime, data, configuration and cache folder of its own, removed afterwards.
// The user's address books are never seen or touched, and it works as root on a machine with
// no desktop session. A process cannot change buses (GLib and the service's client library
// keep the first connection), so each world is a process.

#include "support/tempfolder.h"

#include <QProcess>
#include <QStringList>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace testsupport {

// Set inside the world, so that a program that starts itself there knows it is inside.
inline constexpr const char* kInsidePrivateSession = "PARLANTOGRAPHER_TEST_SESSION";

// The running program, however it was started.
inline std::string SelfPath()
{
    return std::filesystem::read_symlink("/proc/self/exe").string();
}

// Gives the command's exit status, its output and errors going where this program's go.
inline int RunInPrivateSession(const std::vector<std::string>& command)
{
    const CTempFolder root("parlantographer-session-");
    const std::filesystem::path home = root.Path() / "home", runtime = root.Path() / "runtime";
    std::filesystem::create_directories(home);
    std::filesystem::create_directories(runtime);
    std::filesystem::permissions(runtime, std::filesystem::perms::owner_all);
    for (const auto& [name, path] : {std::pair{"HOME", home},
                                     {"XDG_RUNTIME_DIR", runtime},
                                     {"XDG_DATA_HOME", home / ".local/share"},
                                     {"XDG_CONFIG_HOME", home / ".config"},
                                     {"XDG_CACHE_HOME", home / ".cache"}})
        ::setenv(name, path.c_str(), 1);
    ::setenv(kInsidePrivateSession, "1", 1);
    for (const char* name : {"DBUS_SESSION_BUS_ADDRESS", "DISPLAY", "WAYLAND_DISPLAY"})
        ::unsetenv(name);
    QStringList arguments{"--"};
    for (const std::string& word : command)
        arguments << QString::fromStdString(word);
    const int status = QProcess::execute("dbus-run-session", arguments);
    return status == 0 ? 0 : 1;
}

} // namespace testsupport
