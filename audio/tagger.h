#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

class CAudioManager;

// Writes the record information into an existing record's header and reads it back,
// through a codec of the file's own format opened for that one operation, so it may run
// on any thread while recordings and playbacks go on.
class CTagger
{
public:
    explicit CTagger(const CAudioManager& manager) : m_manager(manager) {}
    virtual ~CTagger() = default;

    // Rewrites the header in place with the first information-capacity bytes of `info`,
    // and syncs the file to the disk before it returns. The file keeps its modification
    // time: that is when the memo's recording ended, not when its information last changed.
    // Throws CAudioError (GetSuitableCodec's or the encoder's message, or "Tagger: Cannot
    // write the information to the disk").
    void WriteRecordInfo(const std::string& path, const char* info, std::size_t length) const;
    // The same through the codec given (for a file reached by a name without its
    // extension, see CAudioManager::GetSuitableCodec).
    void WriteRecordInfo(const std::string& path, std::uint32_t codec, const char* info,
                         std::size_t length) const;
    // The information of the file: 1024 bytes (text then zeros) for records written
    // here, empty when the file has none. Throws CAudioError as above.
    std::string ReadRecordInfo(const std::string& path) const;
    std::string ReadRecordInfo(const std::string& path, std::uint32_t codec) const;

    const CAudioManager& Manager() const { return m_manager; }

private:
    const CAudioManager& m_manager;
};
