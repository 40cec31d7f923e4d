#pragma once

#include <atomic>
#include <libedataserver/libedataserver.h>
#include <map>
#include <memory>
#include <string>

class CPimMirror;

// Follows the desktop's personal-information service (Evolution Data Server) and keeps the
// mirror current: reaches the service's registry of sources, opens every enabled address
// book and task list, and listens to each one's view (items added, changed, removed) and to
// the registry (books and lists added, removed, enabled or disabled). An address book or
// task list whose service process dies is opened again a second later.
//
// Every GLib call runs on the thread that calls Run, inside a main context of its own, so
// waiting on the service holds up that thread only. The mirror's state says how far it
// got: Connected once the registry answers, Ready once every book and list open at the
// start has sent its contents, Failed with the service's own message when the registry
// cannot be reached (no session bus, no service). A book or list that cannot be opened is
// left out and does not hold up Ready.
class CEdsSession
{
public:
    explicit CEdsSession(std::shared_ptr<CPimMirror> mirror);
    ~CEdsSession();
    CEdsSession(const CEdsSession&) = delete;
    CEdsSession& operator=(const CEdsSession&) = delete;

    // The thread's body; returns after Stop, having let go of the service.
    void Run();
    // From any thread: cancels what waits on the service and makes Run return.
    void Stop();

private:
    // One open address book or task list (defined with the GLib code).
    struct SCollection;

    void Connect();
    bool StartRegistry(GError** error);
    // Opens every enabled book and list not open yet and closes those no longer enabled.
    void Reconcile();
    void Open(ESource* source, bool book);
    // The view of a book or list, listened to, not started; null with `error` set when the
    // client or its view cannot be had.
    GObject* OpenBook(SCollection& collection, ESource* source, GError** error);
    GObject* OpenTaskList(SCollection& collection, ESource* source, GError** error);
    void Close(const std::string& uid);
    // A view has sent its first contents.
    void Completed(SCollection& collection);
    void BackendDied(SCollection& collection);
    // Runs ReopenDead a second from now, once however often it is asked for.
    void ScheduleReopen();
    void ReopenDead();

    static void OnSourcesChanged(ESourceRegistry* registry, ESource* source, gpointer self);
    static gboolean OnReopen(gpointer self);

    std::shared_ptr<CPimMirror> m_mirror;
    GMainContext* m_context;
    GMainLoop* m_loop;
    GCancellable* m_cancellable;
    std::atomic<bool> m_stopping = false;
    ESourceRegistry* m_registry = nullptr;
    std::map<std::string, std::unique_ptr<SCollection>> m_open;
    // True during the first opening of every book and list; the views it opened that have
    // not sent their contents yet.
    bool m_opening = false;
    int m_pendingAtStart = 0;
    bool m_reopenScheduled = false;
    // Books and lists whose opening failed, with the failures so far: one the registry has
    // just announced may not have reached the service's factories yet, so it is tried again
    // a few times before it is reported and left out.
    std::map<std::string, int> m_failedOpens;
};
