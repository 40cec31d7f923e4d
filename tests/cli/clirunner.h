#pragma once

#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// What a finished run of the command-line program left behind.
struct SCliResult
{
    int exitCode = -1;
    std::string out;
    std::string err;
};

// Runs the built parlantographer-cli in a private world: a temporary home, the
// simulated audio device in fast mode fed from a generated input file, and its own
// contacts-and-tasks folder. Each test gets a fresh instance.
class CCliRunner
{
public:
    CCliRunner();

    // The first `count` samples of the simulated input: a repeating ramp, so that any lost or
    // reordered sample shows in a comparison.
    static std::vector<std::uint8_t> InputSamples(std::size_t count);

    SCliResult Run(const std::vector<std::string>& arguments, int timeoutMs = 60000);
    // Starts the program without waiting; the caller waits or signals.
    std::unique_ptr<QProcess> Start(const std::vector<std::string>& arguments);
    static SCliResult Finish(QProcess& process, int timeoutMs = 60000);

    void SetEnv(const std::string& name, const std::string& value);
    // A path inside the private scratch folder (not the home).
    std::string Scratch(const std::string& name) const;
    std::string Home() const;
    // The contacts-and-tasks folder (PARLANTOGRAPHER_PIM).
    std::string Pim() const;

private:
    QTemporaryDir m_dir;
    QProcessEnvironment m_env;
};

std::string ReadFileBytes(const std::string& path);
void WriteFileBytes(const std::string& path, const std::string& bytes);
std::uint32_t LittleEndian32(const std::string& bytes, std::size_t offset);
