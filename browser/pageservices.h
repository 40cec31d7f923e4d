#pragma once

#include "store/recordbrowser.h"

#include <QDateTime>
#include <QString>
#include <functional>
#include <optional>

class CAudioManager;
class CPeaksCache;
class CPlaybackSession;
class MBrowserPrompts;
class MPimSource;
class CSettingsStore;

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
    // Where "Export…" remembers its folder and format, and the recording format imports
    // take; none: nothing remembered, imports as the first format.
    CSettingsStore* settings = nullptr;
    // The chosen storage's data folder, where dropped files are imported; nullopt while its
    // card is absent. None: drops are not taken.
    std::function<std::optional<QString>()> dataFolder = {};
    // "Show in Folder" for a record's file.
    std::function<void(const QString& path)> showInFolder = {};
};
