#pragma once

#include <QObject>
#include <csignal>

class QSocketNotifier;

// Turns SIGTERM and SIGINT into a Qt signal on the window thread, so that a terminal's
// Ctrl+C or a session logout ends the program through its normal exit path (a running
// recording is saved) instead of killing it mid-write. The handler only writes one byte
// to a pipe; everything else happens in the event loop.
class CSignalWatcher : public QObject
{
    Q_OBJECT
public:
    explicit CSignalWatcher(QObject* parent = nullptr);
    ~CSignalWatcher() override;
    CSignalWatcher(const CSignalWatcher&) = delete;
    CSignalWatcher& operator=(const CSignalWatcher&) = delete;

    bool IsActive() const { return m_notifier != nullptr; }

signals:
    void Terminated(int signalNumber);

private:
    void OnReadable();

    QSocketNotifier* m_notifier = nullptr;
    struct sigaction m_oldTerm
    {
    };
    struct sigaction m_oldInt
    {
    };
};
