#include "app/singleinstance.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QThread>
#include <cstdio>

// Claims the single instance as the program does, for the tests that start several at the
// same moment. Arguments: the key, and the moment to claim at (milliseconds since the
// epoch). Prints "first" and keeps answering later starts until it is ended, or prints
// "second" and ends.
int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 3)
        return 2;
    const qint64 at = QByteArray(argv[2]).toLongLong();
    while (QDateTime::currentMSecsSinceEpoch() < at)
        QThread::usleep(200);
    CSingleInstance instance(QString::fromLocal8Bit(argv[1]));
    const bool first = instance.Claim();
    std::puts(first ? "first" : "second");
    std::fflush(stdout);
    return first ? QCoreApplication::exec() : 0;
}
