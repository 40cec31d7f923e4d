#pragma once

#include <cstdint>
#include <span>
#include <string>

// Owns one libsndfile handle: a file read in any format libsndfile knows, or one being
// written. Every failure is reported with libsndfile's own words (ErrorText), never thrown.
class CSoundFile
{
public:
    CSoundFile() = default;
    ~CSoundFile();
    CSoundFile(const CSoundFile&) = delete;
    CSoundFile& operator=(const CSoundFile&) = delete;

    // Opens `path` for reading; false (ErrorText says why) when libsndfile does not read it.
    bool OpenRead(const std::string& path);
    // Starts a file of `format` (libsndfile's major format and encoding), `rate` Hz, one
    // channel, on the open descriptor `fd`, which stays the caller's. False when the format
    // refuses the rate or the descriptor cannot be written.
    bool OpenWrite(int fd, int format, int rate);

    // A text tag (libsndfile's SF_STR_* kind). Set tags before the first Write: most formats
    // refuse them afterwards. False when the format refuses it.
    bool SetTag(int kind, const std::string& value);
    // Writes every sample; false when not all of them reached the file.
    bool Write(std::span<const short> samples);
    // Reads up to `frames` frames of `Channels()` interleaved floats in [-1, 1]; how many
    // frames were read (0 at the end).
    std::size_t ReadFrames(float* interleaved, std::size_t frames);
    // Finishes the file (the format's trailer, its tags) and releases the handle; false when
    // libsndfile reports a failure. True when nothing is open.
    bool Close();

    int Channels() const { return m_channels; }
    int Rate() const { return m_rate; }
    // Frames of the file opened for reading, as its header says (may be an estimate).
    std::uint64_t Frames() const { return m_frames; }
    std::string ErrorText() const;

private:
    struct sf_private_tag* m_file = nullptr;
    int m_channels = 0;
    int m_rate = 0;
    std::uint64_t m_frames = 0;
    std::string m_error;
};
