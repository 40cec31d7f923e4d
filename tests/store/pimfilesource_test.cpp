#include "store/pimfilesource.h"
#include "store/pimstore.h"
#include "support/qtsupport.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

QByteArray Card(const QByteArray& n)
{
    return "BEGIN:VCARD\r\nN:" + n + "\r\nEND:VCARD\r\n";
}

QByteArray TodoCalendar(const QByteArray& summary)
{
    return "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//t//EN\r\nBEGIN:VTODO\r\nUID:" + summary +
           "\r\nSUMMARY:" + summary + "\r\nEND:VTODO\r\nEND:VCALENDAR\r\n";
}

TEST(PimFileSourceTest, TheFolderIsTheEnvironmentsElseTheSettingsElseInTheHome)
{
    EXPECT_EQ(CPimFileSource::ResolveFolder("/env", "/set", "/home"), "/env");
    EXPECT_EQ(CPimFileSource::ResolveFolder("", "/set", "/home"), "/set");
    EXPECT_EQ(CPimFileSource::ResolveFolder("", "", "/home"), "/home/pim");
    const CPimFileSource missing("/nonexistent/parlantographer-pim");
    EXPECT_TRUE(missing.Tasks().empty());
    EXPECT_TRUE(missing.Contacts().empty());
}

TEST(PimFileSourceTest, ReadsMatchingFilesRecursivelyInPathOrderAndSkipsOthers)
{
    QTemporaryDir dir;
    const QString pim = dir.path();
    for (const auto& [path, bytes] : std::initializer_list<std::pair<const char*, QByteArray>>{
             {"/contacts/b.vcf", Card("Zed;Bob;;;") + Card("Lee;Ann;;;")},
             {"/contacts/a/deeper/c.VCF", Card("Adams;Cy;;;")},
             {"/contacts/notes.txt", Card("Not;Read;;;")},
             {"/contacts/broken.vcf", QByteArray("\xff\xfe\x00garbage", 10)},
             {"/tasks/2.ics", TodoCalendar("Second")},
             {"/tasks/1.ics", TodoCalendar("First")},
             {"/tasks/corrupt.ics", "BEGIN:NOTHING\r\n\x01\x02"},
             {"/tasks/sub/3.ics", TodoCalendar("Third")},
             {"/contacts.vcf", Card("Outside;The;;;")}})
        ASSERT_TRUE(WriteAll(pim + path, bytes)) << path;

    const CPimFileSource source(pim);
    const CPimStore store(source);
    EXPECT_EQ(store.FillContacts(), (QStringList{"Cy Adams", "Bob Zed", "Ann Lee"}));
    EXPECT_EQ(store.FillTasks(), (QStringList{"First", "Second", "Third"}));
}

TEST(PimFileSourceTest, UnreadableFileIsSkippedAndTheRestRead)
{
    QTemporaryDir dir;
    const QString locked = dir.path() + "/contacts/a.vcf";
    ASSERT_TRUE(WriteAll(locked, Card("Lee;Ann;;;")));
    ASSERT_TRUE(WriteAll(dir.path() + "/contacts/b.vcf", Card("Zed;Bob;;;")));
    QFile::setPermissions(locked, QFileDevice::Permissions());
    if (QFile probe(locked); probe.open(QIODevice::ReadOnly))
        GTEST_SKIP() << "permissions are not enforced for this user";
    const auto contacts = CPimFileSource(dir.path()).Contacts();
    ASSERT_EQ(contacts.size(), 1u);
    EXPECT_EQ(contacts[0].family, "Zed");
}

} // namespace
