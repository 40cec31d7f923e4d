#include "browser/showinfolder.h"
#include "privatebus.h"

#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

namespace {

// A file manager serving org.freedesktop.FileManager1 on the private bus.
class CFakeFileManager : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.FileManager1")
public slots:
    void ShowItems(const QStringList& uris, const QString&) { shown << uris; }

public:
    QStringList shown;
};

// The file manager is asked with the file's URL; without one, the folder is opened instead.
TEST(ShowInFolder, AsksTheFileManagerElseOpensTheFolder)
{
    CPrivateBus bus;
    if (!bus.Ok())
        GTEST_SKIP() << "no dbus-daemon";
    QList<QUrl> opened;
    CShowInFolder show(bus.Connect(), [&opened](const QUrl& folder) {
        opened << folder;
        return true;
    });
    QSignalSpy finished(&show, &CShowInFolder::Finished);
    const QString memo = QStringLiteral("/memos/Call with Ann #2.wav");

    show.Show(memo);
    ASSERT_TRUE(finished.wait(5000));
    EXPECT_EQ(finished.takeFirst().value(1).toBool(), false);
    EXPECT_EQ(opened, QList<QUrl>{QUrl::fromLocalFile(QStringLiteral("/memos"))});

    CFakeFileManager manager;
    QDBusConnection desktop = bus.Connect();
    ASSERT_TRUE(desktop.registerObject(QStringLiteral("/org/freedesktop/FileManager1"), &manager,
                                       QDBusConnection::ExportAllSlots));
    ASSERT_TRUE(desktop.registerService(QStringLiteral("org.freedesktop.FileManager1")));
    show.Show(memo);
    ASSERT_TRUE(finished.wait(5000));
    EXPECT_EQ(finished.takeFirst().value(1).toBool(), true);
    EXPECT_EQ(manager.shown, QStringList{"file:///memos/Call with Ann %232.wav"});
    EXPECT_EQ(opened.size(), 1) << "the folder was opened as well";
}

} // namespace

#include "showinfolder_test.moc"
