#include "app/logger.h"

#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class LoggerFile : public ::testing::Test
{
protected:
    void TearDown() override { CLogOutput::Instance().Close(); }
    QTemporaryDir dir;
    QString path = dir.filePath("trace.log");
};

TEST_F(LoggerFile, OffOrUnopenableWritesNothing)
{
    EXPECT_FALSE(CLogOutput::Instance().Open((dir.path() + "/missing/trace.log").toStdString()));
    EXPECT_FALSE(CLogOutput::Instance().IsOpen());
    {
        CLogger outer("Outer");
        outer.Write("before %s", "Step");
        CLogger inner("Inner");
    }
    EXPECT_FALSE(QFile::exists(path));
}

TEST_F(LoggerFile, NestedScopesIndentAndTheOutermostWritesStop)
{
    ASSERT_TRUE(CLogOutput::Instance().Open(path.toStdString()));
    ASSERT_EQ(CLogger::Depth(), 0);
    {
        CLogger one("CParlantographerDlg::OnInitDialog");
        one.Write("before %s", "SetControls");
        {
            CLogger two("CParlantographerDlg::SetControls");
            CLogger three("CRecordButton::DrawItem");
            three.Write("seconds %d", -5);
        }
    }
    EXPECT_EQ(CLogger::Depth(), 0);
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(file.readAll());
    const QString time = "\\d\\d:\\d\\d:\\d\\d", memory = "\\d+\\n";
    const QString expected = time + "before SetControls" + memory + time + "\\t\\tseconds -5" +
                             memory + time + "\\t\\t-CRecordButton::DrawItem" + memory + time +
                             "\\t-CParlantographerDlg::SetControls" + memory + time +
                             "-CParlantographerDlg::OnInitDialog" + memory + time +
                             "\\n------ STOP" + memory;
    EXPECT_TRUE(
        QRegularExpression(QRegularExpression::anchoredPattern(expected)).match(text).hasMatch())
        << text.toStdString();
}

} // namespace
