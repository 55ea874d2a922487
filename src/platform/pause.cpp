#include "platform/pause.h"

#include <chrono>
#include <thread>

namespace larkspin {

void PauseFor(int milliseconds) {
  if (milliseconds > 0) std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

}  // namespace larkspin
