#include "app/logger.h"

#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

TEST(Logger, LineFormatHasNoSeparators)
{
    EXPECT_EQ(CLogger::FormatLine(14, 3, 7, 1, "before SetControls", 10485760),
              "14:03:07before SetControls10485760\n");
    EXPECT_EQ(CLogger::FormatLine(0, 0, 0, 3, "x", 1), "00:00:00\t\tx1\n");
    EXPECT_EQ(CLogger::FormatLine(9, 5, 0, 0, "", std::nullopt), "09:05:00"
                                                                 "0\n");
}

class LoggerFile : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        path = dir.filePath("trace.log");
    }
    void TearDown() override { CLogOutput::Instance().Close(); }

    QStringList Lines() const
    {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            return {};
        return QString::fromUtf8(file.readAll()).split('\n');
    }

    QTemporaryDir dir;
    QString path;
};

TEST_F(LoggerFile, OffWritesNothingAndCreatesNoFile)
{
    CLogOutput::Instance().Close();
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
    const int base = CLogger::Depth();
    ASSERT_EQ(base, 0);
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
    const QStringList lines = Lines();
    const QString time = "\\d\\d:\\d\\d:\\d\\d";
    const QStringList expected{
        time + "before SetControls\\d+",
        time + "\\t\\tseconds -5\\d+",
        time + "\\t\\t-CRecordButton::DrawItem\\d+",
        time + "\\t-CParlantographerDlg::SetControls\\d+",
        time + "-CParlantographerDlg::OnInitDialog\\d+",
        time,
        "------ STOP\\d+",
        "",
    };
    ASSERT_EQ(lines.size(), expected.size()) << lines.join('|').toStdString();
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QRegularExpression pattern(QRegularExpression::anchoredPattern(expected.at(i)));
        EXPECT_TRUE(pattern.match(lines.at(i)).hasMatch())
            << i << ": " << lines.at(i).toStdString();
    }
}

TEST_F(LoggerFile, AnUnopenablePathLeavesLoggingOff)
{
    EXPECT_FALSE(
        CLogOutput::Instance().Open((dir.path() + "/missing/dir/trace.log").toStdString()));
    EXPECT_FALSE(CLogOutput::Instance().IsOpen());
}

} // namespace
