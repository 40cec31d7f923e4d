#include "store/cataloguelock.h"

#include <QFile>
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

CCatalogueLock::CCatalogueLock(const QString& file)
{
    const QByteArray path = QFile::encodeName(LockPath(file));
    m_fd = ::open(path.constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0644);
    if (m_fd < 0)
        return;
    int locked = -1;
    while ((locked = ::flock(m_fd, LOCK_EX)) != 0 && errno == EINTR) {
    }
    if (locked != 0) {
        ::close(m_fd);
        m_fd = -1;
    }
}

CCatalogueLock::~CCatalogueLock()
{
    if (m_fd >= 0)
        ::close(m_fd); // releases the lock
}
