#pragma once

#include "app/memorycheck.h"
#include "app/parlantographerdlg.h"
#include "app/recordbutton.h"
#include "recordingsink.h"
#include "store/pimsource.h"
#include "store/settingsstore.h"
#include "store/storage.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

// Contacts and tasks held in memory.
class CFakePim : public MPimSource
{
public:
    std::vector<SPimTask> Tasks() const override { return tasks; }
    std::vector<SPimContact> Contacts() const override { return contacts; }

    std::vector<SPimTask> tasks;
    std::vector<SPimContact> contacts;
};

// A main screen over a temporary home, with recorded message boxes, a hand-moved clock
// and free space chosen by the test.
class MainScreenTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(home.isValid());
        cardFolder = home.path() + "/media/CARD";
        mountTable = home.filePath("mounts");
        WriteMounts(true);
        settings = std::make_unique<CSettingsStore>(home.filePath("settings.ini"));
        SStorageEnvironment environment;
        environment.programFolder = home.path() + "/";
        environment.deviceDataFolder = home.path() + "/Data/";
        environment.cards = [this] {
            return cardPresent ? QList<SStorageCard>{{"CARD", cardFolder}} : QList<SStorageCard>{};
        };
        storage = std::make_unique<CStorage>(*settings, environment);
    }

    void TearDown() override
    {
        if (screen)
            screen->close();
        screen.reset();
    }

    void Open()
    {
        screen = std::make_unique<CParlantographerDlg>(
            CParlantographerDlg::SContext{*settings, *storage, pim, sink, memory, mountTable});
        screen->RecordButton()->SetClock([this] { return now; });
        screen->RecordButton()->SetFreeBytesProvider([this] { return freeBytes; });
        screen->resize(480, 640);
        screen->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(screen.get()));
        screen->Relayout();
    }

    void WriteMounts(bool withCard)
    {
        QFile file(mountTable);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write("/dev/sda1 / ext4 rw 0 0\n");
        if (withCard)
            file.write(("/dev/sdb1 " + cardFolder + " vfat rw 0 0\n").toUtf8());
    }

    // A tap on the record button `ms` after the previous one.
    void TapRecordAfter(std::int64_t ms)
    {
        now += ms;
        QTest::mouseClick(screen->RecordButton(), Qt::LeftButton);
    }

    QStringList Records(const QString& folder) const
    {
        return QDir(folder).entryList(QDir::Files, QDir::Name);
    }

    QTemporaryDir home;
    QString cardFolder;
    QString mountTable;
    bool cardPresent = true;
    std::unique_ptr<CSettingsStore> settings;
    std::unique_ptr<CStorage> storage;
    CFakePim pim;
    CRecordingSink sink;
    CMemoryCheck memory{[] {
        return std::optional<std::uint64_t>(1ull << 30);
    }};
    std::int64_t now = 100000;
    double freeBytes = 1e9;
    std::unique_ptr<CParlantographerDlg> screen;
};
