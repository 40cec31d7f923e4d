#pragma once

#include "app/memorycheck.h"
#include "app/parlantographerdlg.h"
#include "app/recordingsink.h"
#include "browsertestsupport.h"
#include "store/settingsstore.h"
#include "store/storage.h"

// What a main screen needs, over a temporary home: its settings, a storage without cards,
// no contacts or tasks, recorded messages, plenty of memory and an empty mount table.
struct SMainScreenHome
{
    CParlantographerDlg::SContext Context()
    {
        EXPECT_TRUE(WriteAll(home.filePath("mounts"), QByteArray()));
        return {settings, storage, pim, sink, memory, home.filePath("mounts")};
    }

    QTemporaryDir home;
    CSettingsStore settings{home.filePath("settings.ini")};
    CStorage storage{settings, {home.path() + "/", home.path() + "/Data/", [] {
                                    return QList<SStorageCard>{};
                                }}};
    CFakePimSource pim;
    CRecordingSink sink;
    CMemoryCheck memory{[] {
        return std::optional<std::uint64_t>(1ull << 30);
    }};
};
