#pragma once

#include <QByteArray>
#include <string>

struct _ESourceRegistry;

// The desktop's address books and task lists as another program changes them: through the
// service's own client library, each call waiting for the service's answer. Every failure
// throws std::runtime_error with the service's message.
class CEdsTestStore
{
public:
    CEdsTestStore();
    ~CEdsTestStore();
    CEdsTestStore(const CEdsTestStore&) = delete;
    CEdsTestStore& operator=(const CEdsTestStore&) = delete;

    // The identifiers of the built-in address book and task list.
    static constexpr const char* kPersonalBook = "system-address-book";
    static constexpr const char* kPersonalTasks = "system-task-list";

    // A new local address book or task list with that name; gives its identifier.
    std::string AddBook(const char* name);
    std::string AddTaskList(const char* name);
    void Disable(const std::string& source);

    // A contact from vCard text; gives its identifier.
    std::string AddContact(const std::string& book, const QByteArray& vcard);
    void RemoveContact(const std::string& book, const std::string& id);
    // A task from the text of one VTODO component; gives its identifier.
    std::string AddTask(const std::string& list, const QByteArray& vtodo);
    // A time zone the list's tasks can name, as a desktop application adds it; gives the
    // identifier its tasks name it by.
    std::string AddTimeZone(const std::string& list, const char* location);

private:
    std::string AddSource(const char* name, const char* extension);

    _ESourceRegistry* m_registry;
};
