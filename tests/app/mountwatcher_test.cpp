#include "app/mountwatcher.h"

#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

TEST(MountWatcher, ParsesMountPointsWithEscapes)
{
    const QByteArray table = "/dev/sda1 / ext4 rw 0 0\n"
                             "/dev/sdb1 /media/ann/Storage\\040Card vfat rw 0 0\n"
                             "tmpfs /run tmpfs rw 0 0";
    EXPECT_EQ(CMountWatcher::ParseMountPoints(table),
              (QSet<QString>{"/", "/media/ann/Storage Card", "/run"}));
}

TEST(MountWatcher, ReportsOnlyVolumesThatDisappear)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("mounts");
    auto write = [&](const QByteArray& text) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(text) > 0);
    };
    write("a / ext4 rw 0 0\nb /media/u/CARD vfat rw 0 0\n");
    CMountWatcher watcher(path, 60000);
    QSignalSpy removed(&watcher, &CMountWatcher::VolumeRemoved);
    write("a / ext4 rw 0 0\nb /media/u/CARD vfat rw 0 0\nc /media/u/NEW vfat rw 0 0\n");
    watcher.Poll();
    write("a / ext4 rw 0 0\nc /media/u/NEW vfat rw 0 0\n");
    watcher.Poll();
    QFile::remove(path); // an unreadable table reports nothing
    watcher.Poll();
    ASSERT_EQ(removed.count(), 1);
    EXPECT_EQ(removed.at(0).at(0).toString(), "/media/u/CARD");
}

} // namespace
