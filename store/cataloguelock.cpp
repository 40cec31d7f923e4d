#include "store/cataloguelock.h"

#include "store/filelock.h"

#include <QCoreApplication>
#include <QFile>
#include <fcntl.h>
#include <unistd.h>

CCatalogueLock::CCatalogueLock(const QString& file, std::chrono::milliseconds wait)
{
    const QByteArray path = QFile::encodeName(LockPath(file));
    const int fd = ::open(path.constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0644);
    if (fd < 0)
        return;
    const FileLock::EWait locked = FileLock::Exclusive(fd, wait);
    if (locked == FileLock::EWait::Locked) {
        m_fd = fd;
        return;
    }
    m_busy = locked == FileLock::EWait::Busy;
    ::close(fd);
}

CCatalogueLock::~CCatalogueLock()
{
    if (m_fd >= 0)
        ::close(m_fd); // releases the lock
}

QString CCatalogueLock::FailureMessage(const QString& failure, bool busy)
{
    if (!busy)
        return failure;
    const QString what = failure.endsWith(u'.') ? failure.chopped(1) : failure;
    return QCoreApplication::translate("CCatalogueLock", "%1: %2.")
        .arg(what, QCoreApplication::translate("CCatalogueLock", kMsgInUse));
}
