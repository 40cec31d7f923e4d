#pragma once

#include <cstddef>
#include <string>

class CAudioManager;

// Writes the record information into an existing record's header and reads it back,
// through the codec of the file's format. The manager's codec selection is restored
// on every exit path.
class CTagger
{
public:
    explicit CTagger(CAudioManager& manager) : m_manager(manager) {}
    virtual ~CTagger() = default;

    // Rewrites the header in place with the first information-capacity bytes of `info`.
    // Throws CAudioError (GetSuitableCodec's or the encoder's message).
    void WriteRecordInfo(const std::string& path, const char* info, std::size_t length);
    // The information of the file: 1024 bytes (text then zeros) for records written
    // here, empty when the file has none. Throws CAudioError as above.
    std::string ReadRecordInfo(const std::string& path);

private:
    CAudioManager& m_manager;
};
