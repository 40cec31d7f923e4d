#pragma once

#include <cstdint>
#include <functional>

// How far an export or import has got: `done` of `total` samples of the memo (done never
// exceeds total). Called on the thread that runs the transfer, a few times a second of audio;
// returning false cancels it, and the transfer then leaves nothing behind. An empty function
// lets it run to the end.
using TransferProgress = std::function<bool(std::uint64_t done, std::uint64_t total)>;
