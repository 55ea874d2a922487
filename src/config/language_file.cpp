#include "config/language_file.h"

#include "config/working_files.h"
#include "platform/file_system.h"
#include "platform/program_location.h"

namespace larkspin {

namespace {
constexpr const char* kInstalledLanguageFile = "share/larkspin/language.ini";
}

std::vector<std::string> LanguageFileCandidates(const std::string& program_folder) {
  std::vector<std::string> candidates = {kLanguageFile};
  if (!program_folder.empty()) {
    candidates.push_back(program_folder + "/../" + kInstalledLanguageFile);
    candidates.push_back(program_folder + "/" + kInstalledLanguageFile);
  }
  return candidates;
}

std::string FirstExistingFile(const std::vector<std::string>& candidates) {
  for (const std::string& candidate : candidates)
    if (FileExists(candidate)) return candidate;
  return kLanguageFile;
}

std::string LanguageFilePath() { return FirstExistingFile(LanguageFileCandidates(ProgramFolder())); }

}  // namespace larkspin
