#pragma once

#include <QString>

// An exclusive advisory lock (flock) on "<file>.lock" beside a catalogue or settings file,
// held for the object's lifetime. Every read-modify-write of the file, in the window and the
// command line alike, runs under it, so that two processes never lose each other's changes.
// Waiting is blocking: the holders only ever keep it for one small rewrite.
class CCatalogueLock
{
public:
    explicit CCatalogueLock(const QString& file);
    ~CCatalogueLock();
    CCatalogueLock(const CCatalogueLock&) = delete;
    CCatalogueLock& operator=(const CCatalogueLock&) = delete;

    // False when the lock file could not be opened (a read-only folder, a link in its place):
    // the caller then must not write.
    bool Held() const { return m_fd >= 0; }

    static QString LockPath(const QString& file) { return file + QStringLiteral(".lock"); }

private:
    int m_fd = -1;
};
