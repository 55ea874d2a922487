#pragma once
// Runs a short Python script (Debian's python3) as an independent cross-check of what the
// program produced: the input goes to the script's standard input, its standard output comes back.
#include <string>

namespace larkspin::test_support {

// The script's standard output; the exit status in exit_status when given (-1 when it could not
// be started).
std::string RunPython(const std::string& script, const std::string& input, int* exit_status = nullptr);

// Bytes as lower-case hex digits and back: how values of any encoding pass to a script as
// words ("bytes.fromhex" and ".hex()" on the Python side).
std::string HexOf(const std::string& bytes);
std::string BytesOfHex(const std::string& hex);

}  // namespace larkspin::test_support
