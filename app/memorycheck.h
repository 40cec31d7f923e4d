#pragma once

#include <QString>
#include <cstdint>
#include <functional>
#include <optional>

class MMessageSink;
class QWidget;

// The program's check for enough free memory before it starts and before each dialog:
// below 900,000 available bytes it cannot go on at all; below 1,000,000 (or a larger
// amount asked for) the step is refused with "Not enough memory".
class CMemoryCheck
{
public:
    enum class EResult
    {
        Enough,
        NotEnough,
        Critical,
    };

    static constexpr std::uint64_t kCriticalBytes = 900000;
    static constexpr std::uint64_t kWorkingBytes = 1000000;
    // The out-of-memory exit code the program has always used, kept for scripts that test it.
    // A Linux exit status keeps its low eight bits only, so the parent sees 14.
    static constexpr int kCriticalExitCode = static_cast<int>(0x8007000Eu);

    static QString CriticalText();
    static QString NotEnoughText();
    static QString ErrorCaption();

    using Provider = std::function<std::optional<std::uint64_t>()>;
    using Terminator = std::function<void(int)>;

    // Defaults: MemAvailable of the system; std::exit.
    explicit CMemoryCheck(Provider available = {}, Terminator terminate = {});

    // An unknown figure counts as enough: the check must not stop a program that the
    // system could run.
    static EResult Evaluate(std::optional<std::uint64_t> available,
                            std::uint64_t needed = kWorkingBytes);

    // The check with its messages: critical shows the stop message and ends the process
    // through the terminator; not enough returns false without a message (the caller
    // words its own). True when there is enough.
    bool Check(MMessageSink& sink, QWidget* owner, std::uint64_t needed = kWorkingBytes);
    // Check plus the caller-side message "Not enough memory" when it fails.
    bool CheckOrWarn(MMessageSink& sink, QWidget* owner, std::uint64_t needed = kWorkingBytes);

private:
    Provider m_available;
    Terminator m_terminate;
};
