#pragma once

#include <iosfwd>
#include <memory>

class CAudioManager;
class CCliStore;

// What every command works with: the output streams and the program's single audio
// manager and record store, each created on first use so that a command opens only
// what it needs (the audio backend is not started for a catalogue edit).
class CCliContext
{
public:
    CCliContext(std::ostream& out, std::ostream& err);
    ~CCliContext();
    CCliContext(const CCliContext&) = delete;
    CCliContext& operator=(const CCliContext&) = delete;

    std::ostream& Out() { return m_out; }
    std::ostream& Err() { return m_err; }
    // Throws what the manager's construction throws (std::invalid_argument for a bad
    // PARLANTOGRAPHER_AUDIO or simulated-device setting).
    CAudioManager& Audio();
    // The record store of the home the environment chooses, opened on first use.
    CCliStore& Store();

private:
    std::ostream& m_out;
    std::ostream& m_err;
    std::unique_ptr<CAudioManager> m_audio;
    std::unique_ptr<CCliStore> m_store;
};
