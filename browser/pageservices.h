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
// waveforms, the prompts, the contacts-and-tasks source, the clock, and the records, whose
// list belongs to the main screen and is rebuilt on request.
struct SPageServices
{
    CAudioManager& audio;
    CPlaybackSession& session;
    CPeaksCache& peaks;
    MBrowserPrompts& prompts;
    const MPimSource& pim;
    // Rebuilds the record list from the record folders and returns the browsing model
    // over it; the reference stays valid until the next rebuild.
    std::function<const CRecordBrowser&()> rebuildRecords;
    // Local time now; tests move it.
    std::function<QDateTime()> now;
    // The program folder, whose tag catalogue the information editor offers.
    QString programFolder;
};
