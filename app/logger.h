#pragma once

#include <QLoggingCategory>
#include <QMutex>
#include <atomic>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>

// The trace goes through this category ("parlantographer.trace"), so the usual Qt logging
// rules can silence it; while a log file is open, its messages go to that file.
Q_DECLARE_LOGGING_CATEGORY(lcTrace)

// The destination of the diagnostic trace, one per process. It is closed unless the
// environment names a file (PARLANTOGRAPHER_LOG=FILE, appended to); while it is closed
// every logger write is skipped and no file is ever created. While it is open, a message
// handler writes the trace category's messages to the file as dated lines and passes
// every other message on to the handler that was there before.
class CLogOutput
{
public:
    static CLogOutput& Instance();

    // Opens (appending) `path`; false when it cannot be opened, and the output stays closed.
    bool Open(const std::string& path);
    void Close();
    bool IsOpen();
    // Writes one complete line and flushes, so a crash loses nothing already traced.
    void WriteLine(const std::string& line);
    // Writes `text` as one dated line: local time, the text, the available memory.
    void WriteTrace(const std::string& text);
    // The message handler's work while the file is open (see above).
    void Handle(QtMsgType type, const QMessageLogContext& context, const QString& text);

    CLogOutput(const CLogOutput&) = delete;
    CLogOutput& operator=(const CLogOutput&) = delete;

private:
    CLogOutput();
    ~CLogOutput();

    void CloseLocked();

    QMutex m_mutex;
    std::FILE* m_file = nullptr;
    QtMessageHandler m_previous = nullptr;
};

// A scoped trace: created at the start of a main function under the function's name,
// it writes progress lines and a closing line when the scope ends. Each line is the
// local time, one tab per enclosing scope, the message and the available memory in
// bytes, with no separators: "14:03:07before SetControls10485760".
class CLogger
{
public:
    explicit CLogger(std::string scope);
    virtual ~CLogger();
    CLogger(const CLogger&) = delete;
    CLogger& operator=(const CLogger&) = delete;

    void Write(const char* format, ...) __attribute__((format(printf, 2, 3)));

    // The open scopes of the whole process (both the window thread and workers count).
    static int Depth() { return s_depth.load(); }

    // One line as written: time, depth - 1 tabs, message, memory figure, line feed.
    static std::string FormatLine(int hour, int minute, int second, int depth,
                                  const std::string& message,
                                  std::optional<std::uint64_t> memoryBytes);

private:
    static void WriteMessage(const std::string& message);

    std::string m_scope;
    static std::atomic<int> s_depth;
};
