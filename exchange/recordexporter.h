#pragma once

#include "exchange/transferprogress.h"

#include <QString>
#include <optional>

class CAudioManager;

// The formats a memo is exported to, chosen by the exported file's extension.
enum class EExportFormat
{
    Wav,  // ".wav": 16-bit PCM
    Flac, // ".flac"
    Opus, // ".opus": Opus in Ogg
    Mp3   // ".mp3": MPEG Layer III
};

// Exports one record to a file that other programs play: the memo's samples at 8 kHz (every
// format takes that rate), 16 bits, one channel, exactly as long as the record; the memo's
// name as its title, its recorded date as its date, its information as readable text in its
// comment (ExportTags).
//
// The file is written under a temporary name in the exported file's folder and takes its
// name only when complete, so a failed, cancelled or interrupted export leaves nothing under
// that name and an existing file there is either replaced whole or not touched. It reads the
// record through decoders of its own, so it may run on a worker thread while the window
// records and plays.
class CRecordExporter
{
public:
    enum class EStatus
    {
        Exported,
        UnknownFormat, // the exported file's extension names none of the formats
        NotARecord,    // the file is not a record (or cannot be read as one)
        Exists,        // the exported file exists and was not to be replaced
        SameFile,      // the exported file would be the record itself
        NoFolder,      // the exported file's folder does not exist
        Cancelled,     // the progress function said stop
        Failed         // reading or writing failed; `message` says why
    };

    struct SResult
    {
        EStatus status = EStatus::Failed;
        QString message; // empty only for Exported
        bool Ok() const { return status == EStatus::Exported; }
    };

    explicit CRecordExporter(const CAudioManager& audio) : m_audio(audio) {}

    // Exports `record` to `out`. `replace` lets an existing `out` be replaced; without it an
    // existing `out` is left as it is (Exists). On every status but Exported, no file named
    // `out` has been created or changed.
    SResult Export(const QString& record, const QString& out, bool replace,
                   const TransferProgress& progress = {}) const;

    // The format of a path's extension, compared ignoring case; nullopt for another one.
    static std::optional<EExportFormat> FormatOfPath(const QString& path);
    // The extension of a format, without the dot ("flac").
    static QString ExtensionOf(EExportFormat format);
    // ".wav, .flac, .opus or .mp3", for messages.
    static QString Extensions();

private:
    SResult Write(const QString& record, const QString& out, EExportFormat format, bool replace,
                  const TransferProgress& progress) const;

    const CAudioManager& m_audio;
};
