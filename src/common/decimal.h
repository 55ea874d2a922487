#pragma once
// Decimal number reading in the manner of atoi: leading blanks skipped, an optional sign, then
// digits up to the first other character; no digits give 0.
#include <cstdint>
#include <string_view>

namespace larkspin {

// Signed form used for configuration values; saturates instead of overflowing.
int ParseDecimalInt(std::string_view text);
// Unsigned form used for protocol numbers (no sign accepted); saturates at the type's maximum.
uint32_t ParseDecimalU32(std::string_view text);

}  // namespace larkspin
