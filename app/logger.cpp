#include "app/logger.h"

#include "platform/freememory.h"

#include <QMutexLocker>
#include <cstdarg>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <vector>

Q_LOGGING_CATEGORY(lcTrace, "parlantographer.trace")

std::atomic<int> CLogger::s_depth{0};

namespace {

// Installed while the log file is open: the trace category's messages become log lines.
void TraceHandler(QtMsgType type, const QMessageLogContext& context, const QString& text)
{
    CLogOutput::Instance().Handle(type, context, text);
}

} // namespace

CLogOutput& CLogOutput::Instance()
{
    static CLogOutput output;
    return output;
}

CLogOutput::CLogOutput()
{
    if (const char* path = std::getenv("PARLANTOGRAPHER_LOG"); path && *path)
        Open(path);
}

CLogOutput::~CLogOutput()
{
    Close();
}

bool CLogOutput::Open(const std::string& path)
{
    QMutexLocker lock(&m_mutex);
    CloseLocked();
    m_file = std::fopen(path.c_str(), "a");
    if (!m_file)
        return false;
    m_previous = qInstallMessageHandler(&TraceHandler);
    return true;
}

void CLogOutput::Close()
{
    QMutexLocker lock(&m_mutex);
    CloseLocked();
}

void CLogOutput::CloseLocked()
{
    if (!m_file)
        return;
    qInstallMessageHandler(m_previous);
    m_previous = nullptr;
    std::fclose(m_file);
    m_file = nullptr;
}

bool CLogOutput::IsOpen()
{
    QMutexLocker lock(&m_mutex);
    return m_file != nullptr;
}

void CLogOutput::Handle(QtMsgType type, const QMessageLogContext& context, const QString& text)
{
    if (context.category && std::strcmp(context.category, lcTrace().categoryName()) == 0) {
        WriteTrace(text.toStdString());
        return;
    }
    QtMessageHandler previous = nullptr;
    {
        QMutexLocker lock(&m_mutex);
        previous = m_previous;
    }
    if (previous)
        previous(type, context, text);
    else
        std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, context, text)));
}

void CLogOutput::WriteTrace(const std::string& text)
{
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    WriteLine(CLogger::FormatLine(local.tm_hour, local.tm_min, local.tm_sec, 1, text,
                                  AvailableMemoryBytes()));
}

void CLogOutput::WriteLine(const std::string& line)
{
    QMutexLocker lock(&m_mutex);
    if (!m_file)
        return;
    std::fwrite(line.data(), 1, line.size(), m_file);
    std::fflush(m_file);
}

CLogger::CLogger(std::string scope) : m_scope(std::move(scope))
{
    ++s_depth;
}

CLogger::~CLogger()
{
    WriteMessage("-" + m_scope);
    // Deciding on the value fetch_sub returns keeps two threads that close scopes at
    // once from both (or neither) writing the end mark; depth 1 and 0 both indent by
    // nothing, so the mark reads the same.
    if (s_depth.fetch_sub(1) == 1)
        WriteMessage("\n------ STOP");
}

void CLogger::Write(const char* format, ...)
{
    if (!CLogOutput::Instance().IsOpen())
        return;
    va_list args;
    va_start(args, format);
    va_list copy;
    va_copy(copy, args);
    const int length = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    std::string message;
    if (length > 0) {
        std::vector<char> buffer(static_cast<std::size_t>(length) + 1);
        std::vsnprintf(buffer.data(), buffer.size(), format, args);
        message.assign(buffer.data(), static_cast<std::size_t>(length));
    }
    va_end(args);
    WriteMessage(message);
}

std::string CLogger::FormatLine(int hour, int minute, int second, int depth,
                                const std::string& message,
                                std::optional<std::uint64_t> memoryBytes)
{
    char time[16];
    std::snprintf(time, sizeof time, "%02d:%02d:%02d", hour, minute, second);
    std::string line = time;
    if (depth > 1)
        line.append(static_cast<std::size_t>(depth - 1), '\t');
    line += message;
    line += std::to_string(memoryBytes.value_or(0));
    line += '\n';
    return line;
}

void CLogger::WriteMessage(const std::string& message)
{
    if (!CLogOutput::Instance().IsOpen())
        return;
    // The indent is part of the message; the handler adds the time and the memory figure.
    const int depth = s_depth.load();
    const std::string indent(depth > 1 ? static_cast<std::size_t>(depth - 1) : 0, '\t');
    qCInfo(lcTrace).noquote() << QString::fromStdString(indent + message);
}
