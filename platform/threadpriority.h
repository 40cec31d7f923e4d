#pragma once

// Scheduling for the one thread of a run that must never be late: the one that moves samples
// between the device and the queued buffers every few milliseconds. The threads that encode
// and decode have a whole second per buffer and keep the normal priority.
namespace ThreadPriority {

// Asks real-time scheduling for the calling thread, or failing that a better nice value.
// An ordinary user is usually granted neither; the device's own buffering then absorbs the
// delays, so a refusal is no error. True when either was granted.
bool RaiseForAudio();

} // namespace ThreadPriority
