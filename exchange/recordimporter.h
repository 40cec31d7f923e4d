#pragma once

#include "exchange/transferprogress.h"

#include <QString>

class CAudioManager;

// Makes a record of an audio file from elsewhere (one dropped on a record list), in a data
// folder, so that the record lists show it like a memo recorded here:
// - a file the engine reads that is already a record (a WAV or Speex record copied off
//   another device) is copied byte for byte;
// - an 8 kHz 8-bit mono WAV that is not a record keeps its samples and its format, with the
//   record header and an empty information block;
// - anything else libsndfile reads, and a Speex stream without an information block, is
//   converted to the chosen recording format (channels mixed to one, resampled to 8 kHz)
//   with an empty information block.
// The record is named MMDDYYYY_HHMMSS (or a free _N variant) after the moment the file
// holds: the moment its own record name says, else its modification time, which the record
// also keeps; so the record lists date it as the file was dated.
//
// The record is written under a hidden temporary name and takes its name only when whole:
// a file that cannot be read, a failure or a cancellation leaves nothing behind. Decoders and
// encoders are its own, so it may run on a worker thread.
class CRecordImporter
{
public:
    enum class EStatus
    {
        Imported,
        Unreadable, // not a file, or not audio this program reads
        NoFolder,   // the data folder cannot be created
        Cancelled,  // the progress function said stop
        Failed      // writing failed; `message` says why
    };

    struct SResult
    {
        EStatus status = EStatus::Failed;
        QString path;    // the new record; empty unless Imported
        QString message; // empty only for Imported
        bool Ok() const { return status == EStatus::Imported; }
    };

    explicit CRecordImporter(const CAudioManager& audio) : m_audio(audio) {}

    // Imports `source` into `dataFolder` (created when missing); `format` is the "Format"
    // row 0..5 of what is converted.
    SResult Import(const QString& source, const QString& dataFolder, int format,
                   const TransferProgress& progress = {}) const;

private:
    const CAudioManager& m_audio;
};
