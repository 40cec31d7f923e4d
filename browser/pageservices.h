#pragma once

#include "store/recordbrowser.h"

#include <QDateTime>
#include <functional>

class CAudioManager;
class CPeaksCache;
class CPlaybackSession;
class MBrowserPrompts;
class MPimSource;

// What the browser's pages share and need of the browser: the playback, the records'
// waveforms, the prompts, the contacts-and-tasks source, the clock, and the records.
struct SPageServices
{
    CAudioManager& audio;
    CPlaybackSession& session;
    CPeaksCache& peaks;
    MBrowserPrompts& prompts;
    const MPimSource& pim;
    // The records. A page changes the one record a rename, a delete or an edit of its own
    // changed (CRecordBrowser::Remove, Reread), and never reads the others again.
    CRecordBrowser& records;
    // Brings the records up to the record folders, reading only the files that changed (F5).
    std::function<void()> refreshRecords;
    // Local time now; tests move it.
    std::function<QDateTime()> now;
    // The program folder, whose tag catalogue the information editor offers.
    QString programFolder;
};
