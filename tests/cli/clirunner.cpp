#include "clirunner.h"

#include <QDir>
#include <QStringList>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace {

// Long enough for every test's recording; after it the device delivers silence.
constexpr std::size_t kInputSeconds = 12;

std::string WavHeader(std::uint32_t samples)
{
    auto le32 = [](std::uint32_t v) {
        return std::string{static_cast<char>(v & 0xFF), static_cast<char>((v >> 8) & 0xFF),
                           static_cast<char>((v >> 16) & 0xFF),
                           static_cast<char>((v >> 24) & 0xFF)};
    };
    auto le16 = [](std::uint16_t v) {
        return std::string{static_cast<char>(v & 0xFF), static_cast<char>(v >> 8)};
    };
    return "RIFF" + le32(36 + samples) + "WAVEfmt " + le32(16) + le16(1) + le16(1) + le32(8000) +
           le32(8000) + le16(1) + le16(8) + "data" + le32(samples);
}

} // namespace

CCliRunner::CCliRunner() : m_env(QProcessEnvironment::systemEnvironment())
{
    if (!m_dir.isValid())
        throw std::runtime_error("no temporary folder");
    QDir(m_dir.path()).mkpath("home");
    QDir(m_dir.path()).mkpath("pim");
    QDir(m_dir.path()).mkpath("scratch");
    const std::vector<std::uint8_t> samples = InputSamples(kInputSeconds * 8000);
    WriteFileBytes(Scratch("input.wav"), WavHeader(static_cast<std::uint32_t>(samples.size())) +
                                             std::string(samples.begin(), samples.end()));
    m_env.insert("PARLANTOGRAPHER_HOME", QString::fromStdString(Home()));
    m_env.insert("PARLANTOGRAPHER_PIM", m_dir.path() + "/pim");
    m_env.insert("PARLANTOGRAPHER_CARDS", "");
    m_env.insert("PARLANTOGRAPHER_AUDIO", "sim");
    m_env.insert("PARLANTOGRAPHER_SIM_SPEED", "fast");
    m_env.insert("PARLANTOGRAPHER_SIM_INPUT", QString::fromStdString(Scratch("input.wav")));
    m_env.remove("PARLANTOGRAPHER_SIM_OUTPUT");
}

std::vector<std::uint8_t> CCliRunner::InputSamples(std::size_t count)
{
    // A ramp of period 251 (prime, so it never lines up with buffer sizes), kept away
    // from the silence value so the end of the input is visible.
    std::vector<std::uint8_t> samples(count);
    for (std::size_t i = 0; i < count; ++i)
        samples[i] = static_cast<std::uint8_t>(2 + i % 251);
    return samples;
}

SCliResult CCliRunner::Run(const std::vector<std::string>& arguments, int timeoutMs)
{
    const std::unique_ptr<QProcess> process = Start(arguments);
    return Finish(*process, timeoutMs);
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
    SCliResult result;
    if (!process.waitForFinished(timeoutMs)) {
        process.kill();
        process.waitForFinished();
        result.err = "(timed out)";
        return result;
    }
    result.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    result.out = process.readAllStandardOutput().toStdString();
    result.err = process.readAllStandardError().toStdString();
    return result;
}

void CCliRunner::SetEnv(const std::string& name, const std::string& value)
{
    m_env.insert(QString::fromStdString(name), QString::fromStdString(value));
}

std::string CCliRunner::Scratch(const std::string& name) const
{
    return (m_dir.path() + "/scratch/").toStdString() + name;
}

std::string CCliRunner::Home() const
{
    return (m_dir.path() + "/home").toStdString();
}

std::string CCliRunner::Pim() const
{
    return (m_dir.path() + "/pim").toStdString();
}

std::string ReadFileBytes(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

void WriteFileBytes(const std::string& path, const std::string& bytes)
{
    std::ofstream file(path, std::ios::binary);
    file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!file)
        throw std::runtime_error("cannot write " + path);
}

std::uint32_t LittleEndian32(const std::string& bytes, std::size_t offset)
{
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < 4; ++i)
        value |= static_cast<std::uint32_t>(static_cast<unsigned char>(bytes.at(offset + i)))
                 << (8 * i);
    return value;
}
