#pragma once

#include <QString>
#include <chrono>

// An exclusive advisory lock (flock) on "<file>.lock" beside a catalogue or settings file,
// held for the object's lifetime. Every read-modify-write of the file, in the window and the
// command line alike, runs under it, so that two processes never lose each other's changes.
//
// The wait is bounded: a holder that hangs must not freeze every catalogue change of the
// window. After kWait the lock is Busy, and the caller changes nothing and reports
// kMsgInUse.
//
// The ".lock" files stay after use, on purpose: removing one is never safe. A process that
// opened it a moment before would then lock the removed file while the next one creates and
// locks a new file of that name, and both would change the catalogue at once.
class CCatalogueLock
{
public:
    static constexpr std::chrono::milliseconds kWait{3000};
    static constexpr const char* kMsgInUse =
        QT_TRANSLATE_NOOP("CCatalogueLock", "the catalogue is in use by another program");

    explicit CCatalogueLock(const QString& file, std::chrono::milliseconds wait = kWait);
    ~CCatalogueLock();
    CCatalogueLock(const CCatalogueLock&) = delete;
    CCatalogueLock& operator=(const CCatalogueLock&) = delete;

    // False when the lock is not ours: another program kept it past the wait (Busy), or the
    // lock file could not be opened (a read-only folder, a link in its place). The caller
    // then must not write.
    bool Held() const { return m_fd >= 0; }
    bool Busy() const { return m_busy; }

    static QString LockPath(const QString& file) { return file + QStringLiteral(".lock"); }
    // The message of a change that failed: `failure` itself, or when the lock was busy,
    // "`failure`: the catalogue is in use by another program."
    static QString FailureMessage(const QString& failure, bool busy);

private:
    int m_fd = -1;
    bool m_busy = false;
};
