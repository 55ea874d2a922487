#include "support/python_check.h"

#include <sys/wait.h>

#include <cstdio>
#include <string>

#include "support/temp_folder.h"

namespace larkspin::test_support {

namespace {
constexpr const char* kPython = "/usr/bin/python3";
}

std::string RunPython(const std::string& script, const std::string& input, int* exit_status) {
  TempFolder folder;
  WriteFile(folder.File("script.py"), script);
  WriteFile(folder.File("input"), input);
  const std::string command =
      std::string(kPython) + " '" + folder.File("script.py") + "' < '" + folder.File("input") + "'";
  std::FILE* pipe = ::popen(command.c_str(), "r");
  if (pipe == nullptr) {
    if (exit_status) *exit_status = -1;
    return {};
  }
  std::string output;
  char chunk[4096];
  size_t count;
  while ((count = std::fread(chunk, 1, sizeof chunk, pipe)) > 0) output.append(chunk, count);
  const int status = ::pclose(pipe);
  if (exit_status) *exit_status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return output;
}

std::string HexOf(const std::string& bytes) {
  static constexpr char kDigits[] = "0123456789abcdef";
  std::string hex;
  for (const unsigned char b : bytes) {
    hex += kDigits[b >> 4];
    hex += kDigits[b & 15];
  }
  return hex;
}

std::string BytesOfHex(const std::string& hex) {
  std::string bytes;
  for (size_t i = 0; i + 1 < hex.size(); i += 2) bytes += static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16));
  return bytes;
}

}  // namespace larkspin::test_support
