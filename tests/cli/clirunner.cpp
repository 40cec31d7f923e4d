#include "clirunner.h"

#include <QDir>
#include <QStringList>
#include <fcntl.h>
#include <spawn.h>
#include <stdexcept>
#include <sys/wait.h>

namespace {

// Long enough for every test's recording.
constexpr std::uint32_t kInputSamples = 12 * 8000;

} // namespace

CCliRunner::CCliRunner() : m_env(QProcessEnvironment::systemEnvironment())
{
    if (!m_dir.isValid())
        throw std::runtime_error("no temporary folder");
    for (const char* folder : {"home", "pim", "scratch", "data", "config"})
        QDir(m_dir.path()).mkpath(folder);
    testsupport::WriteFile(Scratch("input.wav"), testsupport::WavFile(InputSamples(kInputSamples)));
    SetEnv("PARLANTOGRAPHER_HOME", Home());
    // The user's own trash and settings stay out of reach.
    SetEnv("XDG_DATA_HOME", DataHome());
    SetEnv("XDG_CONFIG_HOME", Path("/config"));
    SetEnv("PARLANTOGRAPHER_PIM", Pim());
    SetEnv("PARLANTOGRAPHER_CARDS", "");
    SetEnv("PARLANTOGRAPHER_AUDIO", "sim");
    SetEnv("PARLANTOGRAPHER_SIM_SPEED", "fast");
    SetEnv("PARLANTOGRAPHER_SIM_INPUT", Scratch("input.wav"));
    m_env.remove("PARLANTOGRAPHER_SIM_OUTPUT");
    // A bus that is not there: the user's own address book never answers for the folder's.
    SetEnv("DBUS_SESSION_BUS_ADDRESS", "unix:path=" + Scratch("no-bus"));
}

std::vector<std::uint8_t> CCliRunner::InputSamples(std::size_t count)
{
    // Period 251 (prime, never in step with buffer sizes), kept away from the silence value
    // so the end of the input is visible.
    std::vector<std::uint8_t> samples(count);
    for (std::size_t i = 0; i < count; ++i)
        samples[i] = static_cast<std::uint8_t>(2 + i % 251);
    return samples;
}

SCliResult CCliRunner::Run(const std::vector<std::string>& arguments, int timeoutMs)
{
    return Finish(*Start(arguments), timeoutMs);
}

SCliResult CCliRunner::RunUnder(const std::vector<std::string>& wrapper,
                                const std::vector<std::string>& arguments, int timeoutMs)
{
    QProcess process;
    process.setProcessEnvironment(m_env);
    QStringList list;
    for (std::size_t i = 1; i < wrapper.size(); ++i)
        list << QString::fromStdString(wrapper[i]);
    list << PARLANTOGRAPHER_CLI;
    for (const std::string& argument : arguments)
        list << QString::fromStdString(argument);
    process.start(QString::fromStdString(wrapper.front()), list);
    if (!process.waitForStarted(10000))
        return SCliResult{-1, {}, "cannot start " + wrapper.front()};
    return Finish(process, timeoutMs);
}

std::unique_ptr<QProcess> CCliRunner::Start(const std::vector<std::string>& arguments)
{
    auto process = std::make_unique<QProcess>();
    process->setProcessEnvironment(m_env);
    QStringList list;
    for (const std::string& argument : arguments)
        list << QString::fromStdString(argument);
    process->start(PARLANTOGRAPHER_CLI, list);
    if (!process->waitForStarted(10000))
        throw std::runtime_error("cannot start " PARLANTOGRAPHER_CLI);
    return process;
}

SCliResult CCliRunner::Finish(QProcess& process, int timeoutMs)
{
    if (!process.waitForFinished(timeoutMs)) {
        process.kill();
        process.waitForFinished();
        return SCliResult{-1, {}, "(timed out)"};
    }
    return SCliResult{process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
                      process.readAllStandardOutput().toStdString(),
                      process.readAllStandardError().toStdString()};
}

int CCliRunner::RunBytes(const std::vector<std::string>& arguments) const
{
    std::vector<std::string> environment;
    for (const QString& entry : m_env.toStringList())
        environment.push_back(entry.toStdString());
    std::vector<char*> argv{const_cast<char*>(PARLANTOGRAPHER_CLI)};
    for (const std::string& argument : arguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    std::vector<char*> envp;
    for (std::string& entry : environment)
        envp.push_back(entry.data());
    envp.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    pid_t child = 0;
    const int spawned =
        posix_spawn(&child, PARLANTOGRAPHER_CLI, &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    int status = 0;
    if (spawned != 0 || waitpid(child, &status, 0) != child)
        return -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

void CCliRunner::SetEnv(const std::string& name, const std::string& value)
{
    m_env.insert(QString::fromStdString(name), QString::fromStdString(value));
}
