#include "exchange/recordexporter.h"
#include "exchangetestsupport.h"
#include "support/smalltmpfs.h"

namespace {

using EStatus = CRecordExporter::EStatus;

class RecordExporterTest : public CExchangeTest
{
protected:
    CRecordExporter m_exporter{m_audio};
};

// Whatever stops an export (the file, the name, the folder, the user) leaves the target folder
// exactly as it was: no half file, no temporary file, the existing file untouched.
TEST_F(RecordExporterTest, RefusedAndCancelledExportsLeaveTheFolderAsItWas)
{
    const QString record = MakeRecord(QStringLiteral("memo.wav"), 0, kMarkedInfo);
    const QByteArray recordBytes = ReadAll(record);
    ASSERT_TRUE(WriteAll(Path("out/kept.flac"), "keep me"));
    ASSERT_TRUE(WriteAll(Path("plain.wav"), Wav(std::nullopt)));
    ASSERT_TRUE(WriteAll(Path("unmarked.wav"), Wav(QByteArray("[[Tags]]\n"))));
    int calls = 0;
    const TransferProgress cancelAtOnce = [&calls](std::uint64_t, std::uint64_t) {
        ++calls;
        return false;
    };
    const struct
    {
        QString record, out;
        bool replace;
        EStatus status;
    } cases[] = {
        {Path("plain.wav"), Path("out/a.wav"), false, EStatus::NotARecord},
        {Path("unmarked.wav"), Path("out/a.wav"), false, EStatus::NotARecord},
        {Path("missing.wav"), Path("out/a.wav"), false, EStatus::Failed},
        {record, Path("out/a.ogg"), false, EStatus::UnknownFormat},
        {record, Path("out/kept.flac"), false, EStatus::Exists},
        {record, Path("memo.wav"), true, EStatus::SameFile},
        {record, Path("none/a.wav"), false, EStatus::NoFolder},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.record.toStdString() + " -> " + c.out.toStdString());
        const CRecordExporter::SResult result = m_exporter.Export(c.record, c.out, c.replace);
        EXPECT_EQ(result.status, c.status) << result.message.toStdString();
        EXPECT_FALSE(result.message.isEmpty());
    }
    EXPECT_EQ(m_exporter.Export(record, Path("out/kept.flac"), true, cancelAtOnce).status,
              EStatus::Cancelled);
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(Listing("out"), QStringList{"kept.flac"});
    EXPECT_EQ(ReadAll(Path("out/kept.flac")), "keep me");
    EXPECT_EQ(ReadAll(record), recordBytes);

    // Not cancelled, the same export replaces the file and reports up to the whole memo.
    std::vector<std::pair<std::uint64_t, std::uint64_t>> steps;
    const auto result = m_exporter.Export(record, Path("out/kept.flac"), true,
                                          [&steps](std::uint64_t done, std::uint64_t total) {
                                              steps.emplace_back(done, total);
                                              return true;
                                          });
    ASSERT_TRUE(result.Ok()) << result.message.toStdString();
    EXPECT_EQ(Listing("out"), QStringList{"kept.flac"});
    EXPECT_EQ(ReadAll(Path("out/kept.flac")).left(4), "fLaC");
    ASSERT_FALSE(steps.empty());
    EXPECT_EQ(steps.back(), std::make_pair(std::uint64_t{24000}, std::uint64_t{24000}));
}

// A disk that fills during the export reports the failure and keeps the file it was to replace.
TEST_F(RecordExporterTest, AFullDiskFailsAndKeepsTheOldFile)
{
    const QString record = MakeRecord(QStringLiteral("memo.ogg"), 3, kMarkedInfo, 20 * 8000);
    CSmallTmpfs disk(Path("disk"), QStringLiteral("256k"));
    if (!disk.Mounted())
        GTEST_SKIP() << "mounting a tmpfs needs root";
    ASSERT_TRUE(WriteAll(Path("disk/old.wav"), "old"));
    // Room for the start of the file only.
    ASSERT_TRUE(WriteAll(Path("disk/filler"), QByteArray(200 * 1024, 'f')));
    const CRecordExporter::SResult result = m_exporter.Export(record, Path("disk/old.wav"), true);
    EXPECT_EQ(result.status, EStatus::Failed);
    EXPECT_TRUE(result.message.contains(QStringLiteral("No space left")))
        << result.message.toStdString();
    EXPECT_EQ(ReadAll(Path("disk/old.wav")), "old");
    EXPECT_EQ(Listing("disk"), (QStringList{"filler", "old.wav"}));
}

} // namespace
