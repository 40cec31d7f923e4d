// Fills the desktop's personal-information service on the session bus with the contacts of a
// vCard file and the tasks of an iCalendar file, through the service's own client library, as
// the desktop's applications would: each contact into the built-in address book, each VTODO
// into the built-in task list. The screenshots use it in a private session bus.
// Usage: eds_fill CONTACTS.vcf TASKS.ics
#include "desktoppim/edsteststore.h"

#include <QByteArray>
#include <QFile>
#include <QList>
#include <cstdio>
#include <exception>

namespace {

// Each BEGIN:<kind> … END:<kind> component of `text`, in order.
QList<QByteArray> Components(const QByteArray& text, const QByteArray& kind)
{
    QList<QByteArray> parts;
    const QByteArray begin = "BEGIN:" + kind;
    const QByteArray end = "END:" + kind;
    for (qsizetype from = text.indexOf(begin); from >= 0; from = text.indexOf(begin, from)) {
        const qsizetype to = text.indexOf(end, from);
        if (to < 0)
            break;
        parts << text.mid(from, to + end.size() - from) + "\r\n";
        from = to + end.size();
    }
    return parts;
}

QByteArray ReadAll(const char* path)
{
    QFile file(QString::fromLocal8Bit(path));
    if (!file.open(QIODevice::ReadOnly))
        throw std::runtime_error(std::string("cannot read ") + path);
    return file.readAll();
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: eds_fill CONTACTS.vcf TASKS.ics\n");
        return 2;
    }
    try {
        CEdsTestStore service;
        for (const QByteArray& card : Components(ReadAll(argv[1]), "VCARD"))
            service.AddContact(CEdsTestStore::kPersonalBook, card);
        for (const QByteArray& task : Components(ReadAll(argv[2]), "VTODO"))
            service.AddTask(CEdsTestStore::kPersonalTasks, task);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "eds_fill: %s\n", error.what());
        return 1;
    }
    return 0;
}
