#include "edsteststore.h"

#include "desktoppim/gobjectptr.h"

#include <libebook/libebook.h>
#include <libecal/libecal.h>
#include <stdexcept>

namespace {

void Check(bool ok, GError* error, const std::string& what)
{
    if (ok)
        return;
    const std::string message = what + ": " + (error ? error->message : "failed");
    g_clear_error(&error);
    throw std::runtime_error(message);
}

template <typename T> struct SUnref
{
    void operator()(T* object) const { g_object_unref(object); }
};
template <typename T> using Owned = std::unique_ptr<T, SUnref<T>>;

Owned<ESource> SourceOf(ESourceRegistry* registry, const std::string& uid)
{
    Owned<ESource> source(e_source_registry_ref_source(registry, uid.c_str()));
    if (!source)
        throw std::runtime_error("no source " + uid);
    return source;
}

// A source just committed reaches the service's factories a moment later: until then a
// connection fails with "No such source". The connection is tried again for a while.
template <typename Connect> EClient* ConnectWhenKnown(const std::string& uid, Connect connect)
{
    constexpr int kTries = 100;
    for (int attempt = 1;; ++attempt) {
        GError* error = nullptr;
        if (EClient* client = connect(&error))
            return client;
        if (attempt == kTries)
            Check(false, error, "open " + uid);
        g_clear_error(&error);
        g_usleep(100 * 1000);
    }
}

Owned<EBookClient> BookClient(ESourceRegistry* registry, const std::string& uid)
{
    const Owned<ESource> source = SourceOf(registry, uid);
    EClient* client = ConnectWhenKnown(uid, [&](GError** error) {
        return e_book_client_connect_sync(source.get(), static_cast<guint32>(-1), nullptr, error);
    });
    return Owned<EBookClient>(E_BOOK_CLIENT(client));
}

Owned<ECalClient> TaskClient(ESourceRegistry* registry, const std::string& uid)
{
    const Owned<ESource> source = SourceOf(registry, uid);
    EClient* client = ConnectWhenKnown(uid, [&](GError** error) {
        return e_cal_client_connect_sync(source.get(), E_CAL_CLIENT_SOURCE_TYPE_TASKS,
                                         static_cast<guint32>(-1), nullptr, error);
    });
    return Owned<ECalClient>(E_CAL_CLIENT(client));
}

} // namespace

CEdsTestStore::CEdsTestStore()
{
    GError* error = nullptr;
    m_registry = e_source_registry_new_sync(nullptr, &error);
    Check(m_registry != nullptr, error, "source registry");
}

CEdsTestStore::~CEdsTestStore()
{
    g_object_unref(m_registry);
}

std::string CEdsTestStore::AddSource(const char* name, const char* extension)
{
    GError* error = nullptr;
    Owned<ESource> source(e_source_new(nullptr, nullptr, &error));
    Check(source != nullptr, error, "new source");
    e_source_set_parent(source.get(), "local-stub");
    e_source_set_display_name(source.get(), name);
    e_source_backend_set_backend_name(
        E_SOURCE_BACKEND(e_source_get_extension(source.get(), extension)), "local");
    Check(e_source_registry_commit_source_sync(m_registry, source.get(), nullptr, &error), error,
          std::string("add ") + name);
    return e_source_get_uid(source.get());
}

std::string CEdsTestStore::AddBook(const char* name)
{
    return AddSource(name, E_SOURCE_EXTENSION_ADDRESS_BOOK);
}

std::string CEdsTestStore::AddTaskList(const char* name)
{
    return AddSource(name, E_SOURCE_EXTENSION_TASK_LIST);
}

void CEdsTestStore::Disable(const std::string& uid)
{
    GError* error = nullptr;
    Owned<ESource> source = SourceOf(m_registry, uid);
    e_source_set_enabled(source.get(), FALSE);
    Check(e_source_write_sync(source.get(), nullptr, &error), error, "disable " + uid);
}

std::string CEdsTestStore::AddContact(const std::string& book, const QByteArray& vcard)
{
    Owned<EContact> contact(e_contact_new_from_vcard(vcard.constData()));
    GError* error = nullptr;
    gchar* uid = nullptr;
    Check(e_book_client_add_contact_sync(BookClient(m_registry, book).get(), contact.get(),
                                         E_BOOK_OPERATION_FLAG_NONE, &uid, nullptr, &error),
          error, "add contact");
    std::string id = uid;
    g_free(uid);
    return id;
}

void CEdsTestStore::RemoveContact(const std::string& book, const std::string& id)
{
    GError* error = nullptr;
    Check(e_book_client_remove_contact_by_uid_sync(BookClient(m_registry, book).get(), id.c_str(),
                                                   E_BOOK_OPERATION_FLAG_NONE, nullptr, &error),
          error, "remove contact");
}

std::string CEdsTestStore::AddTask(const std::string& list, const QByteArray& vtodo)
{
    Owned<ICalComponent> component(i_cal_component_new_from_string(vtodo.constData()));
    if (!component)
        throw std::runtime_error("unparsable task");
    GError* error = nullptr;
    gchar* uid = nullptr;
    Check(e_cal_client_create_object_sync(TaskClient(m_registry, list).get(), component.get(),
                                          E_CAL_OPERATION_FLAG_NONE, &uid, nullptr, &error),
          error, "add task");
    std::string id = uid;
    g_free(uid);
    return id;
}

std::string CEdsTestStore::AddTimeZone(const std::string& list, const char* location)
{
    ICalTimezone* zone = i_cal_timezone_get_builtin_timezone(location);
    if (!zone)
        throw std::runtime_error(std::string("no time zone ") + location);
    GError* error = nullptr;
    Check(e_cal_client_add_timezone_sync(TaskClient(m_registry, list).get(), zone, nullptr, &error),
          error, "add time zone");
    return i_cal_timezone_get_tzid(zone);
}
