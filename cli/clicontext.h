#pragma once

#include <iosfwd>
#include <memory>

class CAudioManager;

// What every command works with: the output streams and the program's single audio
// manager, created on first use so that commands that never touch audio do not open
// the audio backend.
class CCliContext
{
public:
    CCliContext(std::ostream& out, std::ostream& err);
    ~CCliContext();
    CCliContext(const CCliContext&) = delete;
    CCliContext& operator=(const CCliContext&) = delete;

    std::ostream& Out() { return m_out; }
    std::ostream& Err() { return m_err; }
    // Throws what the manager's construction throws (std::domain_error).
    CAudioManager& Audio();

private:
    std::ostream& m_out;
    std::ostream& m_err;
    std::unique_ptr<CAudioManager> m_audio;
};
