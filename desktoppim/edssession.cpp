#include "desktoppim/edssession.h"

#include "desktoppim/gobjectptr.h"
#include "desktoppim/pimmirror.h"
#include "store/icalendartaskreader.h"

#include <cstdio>
#include <libebook/libebook.h>
#include <libecal/libecal.h>
#include <set>
#include <utility>

namespace {

// Opens a book or list at once, without waiting for a remote one to come online: its
// offline copy is what there is to read until then.
constexpr guint32 kNoWaitForOnline = static_cast<guint32>(-1);
constexpr guint kReopenDelayMs = 1000;
constexpr int kOpenRetries = 5;
// The bus name of the service's registry of sources, for this generation of its client
// library.
constexpr const char* kRegistryName = "org.gnome.evolution.dataserver.Sources5";

QString Trimmed(const char* text)
{
    return text ? QString::fromUtf8(text).trimmed() : QString();
}

// The name parts as the folder's vCard reader takes them: the structured name (family;
// given; additional), else the formatted name whole as the given name.
SPimContact ContactOf(EContact* contact)
{
    SPimContact result;
    if (auto* name = static_cast<EContactName*>(e_contact_get(contact, E_CONTACT_NAME))) {
        result = {Trimmed(name->given), Trimmed(name->additional), Trimmed(name->family)};
        e_contact_name_free(name);
    }
    if (result.given.isEmpty() && result.additional.isEmpty() && result.family.isEmpty()) {
        const auto* full =
            static_cast<const char*>(e_contact_get_const(contact, E_CONTACT_FULL_NAME));
        result = {Trimmed(full), {}, {}};
    }
    return result;
}

// A task is one component of one task list: its UID and, for one occurrence of a repeating
// task, its recurrence identifier.
std::string TaskId(const char* uid, const char* rid)
{
    return std::string(uid ? uid : "") + '\n' + (rid ? rid : "");
}

// The task as the folder's iCalendar reader gives it: the component goes to it as text,
// with the time zones its dates name, so that both sources read subjects and dates alike.
std::optional<SPimTask> TaskOf(ECalClient* client, ICalComponent* component)
{
    gchar* text = e_cal_client_get_component_as_string(client, component);
    if (!text)
        return std::nullopt;
    std::vector<SPimTask> tasks = CICalendarTaskReader::Parse(QByteArray(text));
    g_free(text);
    if (tasks.empty())
        return std::nullopt;
    return std::move(tasks.front());
}

QString MessageOf(GError* error)
{
    g_dbus_error_strip_remote_error(error);
    return QString::fromUtf8(error->message);
}

} // namespace

struct CEdsSession::SCollection
{
    SCollection(CEdsSession* owner, ESource* source) : session(owner), uid(e_source_get_uid(source))
    {}

    CEdsSession* session;
    std::string uid;
    // Counted in the session's views still to send their first contents.
    bool pendingAtStart = false;
    bool dead = false;
    GObjectPtr<EClient> client;
    GObjectPtr<GObject> view;

    static void OnContactsChanged(EBookClientView*, const GSList* contacts, gpointer self)
    {
        auto* collection = static_cast<SCollection*>(self);
        CPimMirror::ContactItems items;
        for (const GSList* item = contacts; item; item = item->next) {
            auto* contact = static_cast<EContact*>(item->data);
            const auto* uid = static_cast<const char*>(e_contact_get_const(contact, E_CONTACT_UID));
            items.emplace_back(uid ? uid : "", ContactOf(contact));
        }
        collection->session->m_mirror->PutContacts(collection->uid, std::move(items));
    }

    static void OnContactsRemoved(EBookClientView*, const GSList* uids, gpointer self)
    {
        auto* collection = static_cast<SCollection*>(self);
        std::vector<std::string> ids;
        for (const GSList* item = uids; item; item = item->next)
            ids.emplace_back(static_cast<const char*>(item->data));
        collection->session->m_mirror->RemoveContacts(collection->uid, ids);
    }

    static void OnTasksChanged(ECalClientView*, const GSList* components, gpointer self)
    {
        auto* collection = static_cast<SCollection*>(self);
        auto* client = E_CAL_CLIENT(collection->client.get());
        CPimMirror::TaskItems items;
        std::vector<std::string> unreadable;
        for (const GSList* item = components; item; item = item->next) {
            auto* component = static_cast<ICalComponent*>(item->data);
            gchar* rid = e_cal_util_component_get_recurid_as_string(component);
            std::string id = TaskId(i_cal_component_get_uid(component), rid);
            g_free(rid);
            if (std::optional<SPimTask> task = TaskOf(client, component))
                items.emplace_back(std::move(id), std::move(*task));
            else
                unreadable.push_back(std::move(id));
        }
        CPimMirror& mirror = *collection->session->m_mirror;
        mirror.PutTasks(collection->uid, std::move(items));
        if (!unreadable.empty())
            mirror.RemoveTasks(collection->uid, unreadable);
    }

    static void OnTasksRemoved(ECalClientView*, const GSList* componentIds, gpointer self)
    {
        auto* collection = static_cast<SCollection*>(self);
        std::vector<std::string> ids;
        for (const GSList* item = componentIds; item; item = item->next) {
            auto* id = static_cast<ECalComponentId*>(item->data);
            ids.push_back(TaskId(e_cal_component_id_get_uid(id), e_cal_component_id_get_rid(id)));
        }
        collection->session->m_mirror->RemoveTasks(collection->uid, ids);
    }

    static void OnComplete(GObject*, const GError*, gpointer self)
    {
        auto* collection = static_cast<SCollection*>(self);
        collection->session->Completed(*collection);
    }

    static void OnBackendDied(EClient*, gpointer self)
    {
        auto* collection = static_cast<SCollection*>(self);
        collection->session->BackendDied(*collection);
    }
};

CEdsSession::CEdsSession(std::shared_ptr<CPimMirror> mirror)
    : m_mirror(std::move(mirror)), m_context(g_main_context_new()),
      m_loop(g_main_loop_new(m_context, FALSE)), m_cancellable(g_cancellable_new())
{}

CEdsSession::~CEdsSession()
{
    g_object_unref(m_cancellable);
    g_main_loop_unref(m_loop);
    g_main_context_unref(m_context);
}

void CEdsSession::Run()
{
    g_main_context_push_thread_default(m_context);
    if (!m_stopping)
        Connect();
    if (!m_stopping)
        g_main_loop_run(m_loop);
    while (!m_open.empty())
        Close(m_open.begin()->first);
    if (m_registry) {
        g_signal_handlers_disconnect_by_data(m_registry, this);
        g_clear_object(&m_registry);
    }
    g_main_context_pop_thread_default(m_context);
}

void CEdsSession::Stop()
{
    m_stopping = true;
    g_cancellable_cancel(m_cancellable);
    // Through the loop's own context: a quit that came before the loop runs would be lost.
    GSource* quit = g_idle_source_new();
    g_source_set_callback(
        quit,
        [](gpointer loop) -> gboolean {
            g_main_loop_quit(static_cast<GMainLoop*>(loop));
            return G_SOURCE_REMOVE;
        },
        m_loop, nullptr);
    g_source_attach(quit, m_context);
    g_source_unref(quit);
}

bool CEdsSession::StartRegistry(GError** error)
{
    // The registry's client takes a bus without the service for one without sources, so
    // the service is started (or found running) first: without it the bus says why.
    GDBusConnection* bus = g_bus_get_sync(G_BUS_TYPE_SESSION, m_cancellable, error);
    if (!bus)
        return false;
    GVariant* reply = g_dbus_connection_call_sync(
        bus, "org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus",
        "StartServiceByName", g_variant_new("(su)", kRegistryName, 0u), G_VARIANT_TYPE("(u)"),
        G_DBUS_CALL_FLAGS_NONE, -1, m_cancellable, error);
    g_object_unref(bus);
    if (!reply)
        return false;
    g_variant_unref(reply);
    return true;
}

void CEdsSession::Connect()
{
    GError* error = nullptr;
    if (StartRegistry(&error))
        m_registry = e_source_registry_new_sync(m_cancellable, &error);
    if (!m_registry) {
        m_mirror->SetState(CPimMirror::EState::Failed, MessageOf(error));
        g_error_free(error);
        return;
    }
    m_mirror->SetState(CPimMirror::EState::Connected);
    for (const char* signal :
         {"source-added", "source-removed", "source-enabled", "source-disabled"})
        g_signal_connect(m_registry, signal, G_CALLBACK(OnSourcesChanged), this);
    m_opening = true;
    Reconcile();
    m_opening = false;
    if (m_pendingAtStart == 0)
        m_mirror->SetState(CPimMirror::EState::Ready);
}

void CEdsSession::Reconcile()
{
    std::set<std::string> enabled;
    for (const auto& [extension, book] : {std::pair{E_SOURCE_EXTENSION_ADDRESS_BOOK, true},
                                          std::pair{E_SOURCE_EXTENSION_TASK_LIST, false}}) {
        GList* sources = e_source_registry_list_enabled(m_registry, extension);
        for (GList* item = sources; item && !m_stopping; item = item->next) {
            auto* source = E_SOURCE(item->data);
            const std::string uid = e_source_get_uid(source);
            enabled.insert(uid);
            if (!m_open.contains(uid))
                Open(source, book);
        }
        g_list_free_full(sources, g_object_unref);
    }
    std::vector<std::string> gone;
    for (const auto& [uid, collection] : m_open) {
        if (!enabled.contains(uid))
            gone.push_back(uid);
    }
    for (const std::string& uid : gone) {
        Close(uid);
        m_mirror->Forget(uid);
    }
}

GObject* CEdsSession::OpenBook(SCollection& collection, ESource* source, GError** error)
{
    collection.client.reset(
        e_book_client_connect_sync(source, kNoWaitForOnline, m_cancellable, error));
    if (!collection.client)
        return nullptr;
    EBookQuery* all = e_book_query_any_field_contains("");
    g_autofree gchar* query = e_book_query_to_string(all);
    e_book_query_unref(all);
    EBookClientView* view = nullptr;
    if (!e_book_client_get_view_sync(E_BOOK_CLIENT(collection.client.get()), query, &view,
                                     m_cancellable, error))
        return nullptr;
    // Only the names travel: no photos or addresses of a thousand contacts.
    GSList* fields = nullptr;
    for (const EContactField field : {E_CONTACT_FULL_NAME, E_CONTACT_NAME})
        fields = g_slist_prepend(fields, const_cast<char*>(e_contact_field_name(field)));
    e_book_client_view_set_fields_of_interest(view, fields, nullptr);
    g_slist_free(fields);
    g_signal_connect(view, "objects-added", G_CALLBACK(SCollection::OnContactsChanged),
                     &collection);
    g_signal_connect(view, "objects-modified", G_CALLBACK(SCollection::OnContactsChanged),
                     &collection);
    g_signal_connect(view, "objects-removed", G_CALLBACK(SCollection::OnContactsRemoved),
                     &collection);
    return G_OBJECT(view);
}

GObject* CEdsSession::OpenTaskList(SCollection& collection, ESource* source, GError** error)
{
    collection.client.reset(e_cal_client_connect_sync(source, E_CAL_CLIENT_SOURCE_TYPE_TASKS,
                                                      kNoWaitForOnline, m_cancellable, error));
    ECalClientView* view = nullptr;
    if (!collection.client || !e_cal_client_get_view_sync(E_CAL_CLIENT(collection.client.get()),
                                                          "#t", &view, m_cancellable, error))
        return nullptr;
    g_signal_connect(view, "objects-added", G_CALLBACK(SCollection::OnTasksChanged), &collection);
    g_signal_connect(view, "objects-modified", G_CALLBACK(SCollection::OnTasksChanged),
                     &collection);
    g_signal_connect(view, "objects-removed", G_CALLBACK(SCollection::OnTasksRemoved), &collection);
    return G_OBJECT(view);
}

void CEdsSession::Open(ESource* source, bool book)
{
    auto collection = std::make_unique<SCollection>(this, source);
    GError* error = nullptr;
    collection->view.reset(book ? OpenBook(*collection, source, &error)
                                : OpenTaskList(*collection, source, &error));
    if (collection->view) {
        g_signal_connect(collection->view.get(), "complete", G_CALLBACK(SCollection::OnComplete),
                         collection.get());
        g_signal_connect(collection->client.get(), "backend-died",
                         G_CALLBACK(SCollection::OnBackendDied), collection.get());
        if (book)
            e_book_client_view_start(E_BOOK_CLIENT_VIEW(collection->view.get()), &error);
        else
            e_cal_client_view_start(E_CAL_CLIENT_VIEW(collection->view.get()), &error);
    }
    if (!collection->view || error) {
        // Tried again a few times, then left out (the next change in the registry tries
        // again); the others are read.
        const bool cancelled = error && g_error_matches(error, G_IO_ERROR, G_IO_ERROR_CANCELLED);
        if (!cancelled && ++m_failedOpens[collection->uid] <= kOpenRetries)
            ScheduleReopen();
        else if (error && !cancelled)
            std::fprintf(stderr, "Contacts and tasks: \"%s\" cannot be read: %s\n",
                         e_source_get_display_name(source), qPrintable(MessageOf(error)));
        g_clear_error(&error);
        if (collection->view)
            g_signal_handlers_disconnect_by_data(collection->view.get(), collection.get());
        if (collection->client)
            g_signal_handlers_disconnect_by_data(collection->client.get(), collection.get());
        return;
    }
    m_failedOpens.erase(collection->uid);
    if (m_opening) {
        collection->pendingAtStart = true;
        ++m_pendingAtStart;
    }
    m_open[collection->uid] = std::move(collection);
}

void CEdsSession::Close(const std::string& uid)
{
    const auto found = m_open.find(uid);
    if (found == m_open.end())
        return;
    SCollection& collection = *found->second;
    g_signal_handlers_disconnect_by_data(collection.view.get(), &collection);
    g_signal_handlers_disconnect_by_data(collection.client.get(), &collection);
    // One that never sent its contents no longer holds up Ready.
    Completed(collection);
    m_open.erase(found);
}

void CEdsSession::Completed(SCollection& collection)
{
    if (!collection.pendingAtStart)
        return;
    collection.pendingAtStart = false;
    if (--m_pendingAtStart == 0 && !m_opening && !m_stopping)
        m_mirror->SetState(CPimMirror::EState::Ready);
}

void CEdsSession::BackendDied(SCollection& collection)
{
    collection.dead = true;
    ScheduleReopen();
}

void CEdsSession::ScheduleReopen()
{
    if (m_reopenScheduled)
        return;
    m_reopenScheduled = true;
    GSource* reopen = g_timeout_source_new(kReopenDelayMs);
    g_source_set_callback(reopen, &CEdsSession::OnReopen, this, nullptr);
    g_source_attach(reopen, m_context);
    g_source_unref(reopen);
}

gboolean CEdsSession::OnReopen(gpointer self)
{
    static_cast<CEdsSession*>(self)->ReopenDead();
    return G_SOURCE_REMOVE;
}

void CEdsSession::ReopenDead()
{
    m_reopenScheduled = false;
    std::vector<std::string> dead;
    for (const auto& [uid, collection] : m_open) {
        if (collection->dead)
            dead.push_back(uid);
    }
    for (const std::string& uid : dead) {
        Close(uid);
        m_mirror->Forget(uid);
    }
    Reconcile();
}

void CEdsSession::OnSourcesChanged(ESourceRegistry*, ESource*, gpointer self)
{
    static_cast<CEdsSession*>(self)->Reconcile();
}
