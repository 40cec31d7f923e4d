#include "app/memorycheck.h"

#include "app/messagesink.h"
#include "platform/freememory.h"

#include <QCoreApplication>
#include <cstdlib>

CMemoryCheck::CMemoryCheck(Provider available, Terminator terminate)
    : m_available(available ? std::move(available) : Provider(&AvailableMemoryBytes)),
      m_terminate(terminate ? std::move(terminate) : Terminator([](int code) { std::exit(code); }))
{}

QString CMemoryCheck::CriticalText()
{
    return QCoreApplication::translate("CMemoryCheck",
                                       "Critically low of memory. The program will be "
                                       "terminated. Free some memory an ran the application again");
}

QString CMemoryCheck::NotEnoughText()
{
    return QCoreApplication::translate("CMemoryCheck", "Not enough memory");
}

QString CMemoryCheck::ErrorCaption()
{
    return QCoreApplication::translate("CMemoryCheck", "Error");
}

CMemoryCheck::EResult CMemoryCheck::Evaluate(std::optional<std::uint64_t> available,
                                             std::uint64_t needed)
{
    if (!available)
        return EResult::Enough;
    if (*available < kCriticalBytes)
        return EResult::Critical;
    if (*available < needed)
        return EResult::NotEnough;
    return EResult::Enough;
}

bool CMemoryCheck::Check(MMessageSink& sink, QWidget* owner, std::uint64_t needed)
{
    switch (Evaluate(m_available(), needed)) {
    case EResult::Enough:
        return true;
    case EResult::NotEnough:
        return false;
    case EResult::Critical:
        sink.Show(EMessageIcon::Stop, ErrorCaption(), CriticalText(), owner);
        m_terminate(kCriticalExitCode);
        return false;
    }
    return false;
}

bool CMemoryCheck::CheckOrWarn(MMessageSink& sink, QWidget* owner, std::uint64_t needed)
{
    if (Check(sink, owner, needed))
        return true;
    sink.Show(EMessageIcon::Exclamation, ErrorCaption(), NotEnoughText(), owner);
    return false;
}
