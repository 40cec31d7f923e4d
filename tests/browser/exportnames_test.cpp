#include "browser/exportnames.h"
#include "support/qtsupport.h"

#include <gtest/gtest.h>

// A typed extension of another format is replaced, not doubled, and other dots stay; records
// that would share a name in one folder (a WAV and a Speex record of one name, names that
// differ in case only) each get a file of their own.
TEST(ExportNames, OneFilePerRecordWithTheFormatsExtension)
{
    EXPECT_EQ(ExportNames::WithExtension("memo.MP3", EExportFormat::Flac), "memo.flac");
    EXPECT_EQ(ExportNames::WithExtension("Call 2.5", EExportFormat::Opus), "Call 2.5.opus");
    EXPECT_EQ(ExportNames::WithExtension("notes.txt", EExportFormat::Wav), "notes.txt.wav");

    EXPECT_EQ(ExportNames::ForRecords({"/a/01042027_080000.wav", "/a/01042027_080000.ogg",
                                       "/b/Call Ann.wav", "/a/call ann.ogg", "/b/v1.2.ogg"},
                                      EExportFormat::Mp3),
              (QStringList{"01042027_080000.mp3", "01042027_080000 (2).mp3", "Call Ann.mp3",
                           "call ann (2).mp3", "v1.2.mp3"}));
}
