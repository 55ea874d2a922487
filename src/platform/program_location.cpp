#include "platform/program_location.h"

#include <filesystem>
#include <system_error>

namespace larkspin {

std::string ProgramFolder() {
  std::error_code error;
  const std::filesystem::path executable = std::filesystem::read_symlink("/proc/self/exe", error);
  return error ? std::string() : executable.parent_path().string();
}

}  // namespace larkspin
