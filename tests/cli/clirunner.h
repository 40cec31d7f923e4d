#pragma once

#include "support/wavfile.h"

#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

struct SCliResult
{
    int exitCode = -1; // -1 when the program crashed or timed out
    std::string out;
    std::string err;
};

// Runs the built parlantographer-cli in a private world: a temporary home, its own
// contacts-and-tasks folder, no session bus (so no desktop contacts), and the simulated audio
// device in fast mode fed from a generated input file (InputSamples, then silence).
class CCliRunner
{
public:
    CCliRunner();

    // A repeating ramp, so that any lost or reordered sample shows in a comparison.
    static std::vector<std::uint8_t> InputSamples(std::size_t count);

    SCliResult Run(const std::vector<std::string>& arguments, int timeoutMs = 60000);
    // Runs the program under another one, as strace runs it: `wrapper` (the other program and
    // its arguments), then the program's path and `arguments`.
    SCliResult RunUnder(const std::vector<std::string>& wrapper,
                        const std::vector<std::string>& arguments, int timeoutMs = 60000);
    // Runs the program with arguments passed byte for byte (a QProcess would take them as
    // text, and text cannot hold every file name), its output discarded; safe to call from
    // several threads at once. The exit status, -1 when the program did not exit normally.
    int RunBytes(const std::vector<std::string>& arguments) const;
    // Starts the program without waiting; the caller signals it and calls Finish.
    std::unique_ptr<QProcess> Start(const std::vector<std::string>& arguments);
    static SCliResult Finish(QProcess& process, int timeoutMs = 60000);

    void SetEnv(const std::string& name, const std::string& value);
    // A path inside a scratch folder beside the home.
    std::string Scratch(const std::string& name) const { return Path("/scratch/" + name); }
    std::string Home() const { return Path("/home"); }
    std::string Pim() const { return Path("/pim"); }
    // The program's XDG_DATA_HOME, where its trash lies.
    std::string DataHome() const { return Path("/data"); }

private:
    std::string Path(const std::string& relative) const
    {
        return m_dir.path().toStdString() + relative;
    }

    QTemporaryDir m_dir;
    QProcessEnvironment m_env;
};
