#pragma once
// A fixed wait of the calling thread.

namespace larkspin {

// Sleeps for milliseconds; nothing for zero or less.
void PauseFor(int milliseconds);

}  // namespace larkspin
