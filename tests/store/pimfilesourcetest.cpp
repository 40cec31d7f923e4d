#include "store/pimfilesource.h"

#include "store/pimstore.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

void WriteFile(const QString& path, const QByteArray& bytes)
{
    ASSERT_TRUE(QDir().mkpath(QFileInfo(path).path()));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_EQ(file.write(bytes), bytes.size());
}

QByteArray Card(const QByteArray& n)
{
    return "BEGIN:VCARD\r\nN:" + n + "\r\nEND:VCARD\r\n";
}

QByteArray TodoCalendar(const QByteArray& summary)
{
    return "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//t//EN\r\nBEGIN:VTODO\r\nUID:" + summary +
           "\r\nSUMMARY:" + summary + "\r\nEND:VTODO\r\nEND:VCALENDAR\r\n";
}

TEST(PimFileSourceTest, ResolvesTheFolderEnvironmentFirstThenSettingThenHome)
{
    EXPECT_EQ(CPimFileSource::ResolveFolder("/env", "/set", "/home"), "/env");
    EXPECT_EQ(CPimFileSource::ResolveFolder("", "/set", "/home"), "/set");
    EXPECT_EQ(CPimFileSource::ResolveFolder("", "", "/home"), "/home/pim");
}

TEST(PimFileSourceTest, MissingFolderGivesEmptyLists)
{
    const CPimFileSource source("/nonexistent/parlantographer-pim");
    EXPECT_TRUE(source.Tasks().empty());
    EXPECT_TRUE(source.Contacts().empty());
}

TEST(PimFileSourceTest, ReadsMatchingFilesRecursivelyInPathOrderAndSkipsOthers)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString pim = dir.path();
    WriteFile(pim + "/contacts/b.vcf", Card("Zed;Bob;;;") + Card("Lee;Ann;;;"));
    WriteFile(pim + "/contacts/a/deeper/c.VCF", Card("Adams;Cy;;;"));
    WriteFile(pim + "/contacts/notes.txt", Card("Not;Read;;;"));
    WriteFile(pim + "/contacts/broken.vcf", QByteArray("\xff\xfe\x00garbage", 10));
    WriteFile(pim + "/tasks/2.ics", TodoCalendar("Second"));
    WriteFile(pim + "/tasks/1.ics", TodoCalendar("First"));
    WriteFile(pim + "/tasks/corrupt.ics", "BEGIN:NOTHING\r\n\x01\x02");
    WriteFile(pim + "/tasks/sub/3.ics", TodoCalendar("Third"));
    WriteFile(pim + "/contacts.vcf", Card("Outside;The;;;"));

    const CPimFileSource source(pim);
    const CPimStore store(source);
    QStringList contacts;
    store.FillContacts(contacts);
    EXPECT_EQ(contacts, (QStringList{"Cy Adams", "Bob Zed", "Ann Lee"}));
    QStringList tasks;
    store.FillTasks(tasks);
    EXPECT_EQ(tasks, (QStringList{"First", "Second", "Third"}));
}

TEST(PimFileSourceTest, UnreadableFileIsSkippedAndTheRestRead)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    WriteFile(dir.path() + "/contacts/a.vcf", Card("Lee;Ann;;;"));
    WriteFile(dir.path() + "/contacts/b.vcf", Card("Zed;Bob;;;"));
    QFile::setPermissions(dir.path() + "/contacts/a.vcf", QFileDevice::Permissions());
    QFile probe(dir.path() + "/contacts/a.vcf");
    if (probe.open(QIODevice::ReadOnly))
        GTEST_SKIP() << "permissions are not enforced for this user";
    const auto contacts = CPimFileSource(dir.path()).Contacts();
    ASSERT_EQ(contacts.size(), 1u);
    EXPECT_EQ(contacts[0].family, "Zed");
}

} // namespace
