#pragma once
// Local date and time.
#include <ctime>

namespace larkspin {

// The current local time, broken down.
std::tm LocalNow();

}  // namespace larkspin
