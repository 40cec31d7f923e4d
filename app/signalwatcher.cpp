#include "app/signalwatcher.h"

#include <QSocketNotifier>
#include <cerrno>
#include <sys/socket.h>
#include <unistd.h>

namespace {

// The only state a signal handler may touch: the write end of the pipe. It is set
// while one watcher is alive and -1 otherwise.
volatile sig_atomic_t g_writeFd = -1;
int g_readFd = -1;

void OnSignal(int number)
{
    const int saved = errno;
    const unsigned char byte = static_cast<unsigned char>(number);
    if (g_writeFd >= 0) {
        // A full pipe means a wake-up is already pending; dropping this byte is fine.
        [[maybe_unused]] const ssize_t written = ::write(g_writeFd, &byte, 1);
    }
    errno = saved;
}

} // namespace

CSignalWatcher::CSignalWatcher(QObject* parent) : QObject(parent)
{
    if (g_writeFd >= 0)
        return; // One watcher per process: a second one stays inactive.
    int fds[2];
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, fds) != 0)
        return;
    g_readFd = fds[0];
    g_writeFd = fds[1];

    struct sigaction action
    {
    };
    action.sa_handler = &OnSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGTERM, &action, &m_oldTerm);
    sigaction(SIGINT, &action, &m_oldInt);

    m_notifier = new QSocketNotifier(g_readFd, QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &CSignalWatcher::OnReadable);
}

CSignalWatcher::~CSignalWatcher()
{
    if (!m_notifier)
        return;
    sigaction(SIGTERM, &m_oldTerm, nullptr);
    sigaction(SIGINT, &m_oldInt, nullptr);
    const int writeFd = g_writeFd;
    g_writeFd = -1;
    delete m_notifier;
    ::close(writeFd);
    ::close(g_readFd);
    g_readFd = -1;
}

void CSignalWatcher::OnReadable()
{
    unsigned char byte = 0;
    while (::read(g_readFd, &byte, 1) == 1)
        emit Terminated(byte);
}
