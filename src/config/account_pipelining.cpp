#include "config/account_pipelining.h"

#include "common/string_tools.h"

namespace larkspin {

Pipelining ParsePipelining(const std::string& setting) {
  if (EqualsIgnoringCase(setting, "Always")) return Pipelining::kAlways;
  if (EqualsIgnoringCase(setting, "Never")) return Pipelining::kNever;
  return Pipelining::kAuto;
}

Pipelining ReadPipelining(const CIniFile& config, const std::string& section) {
  return ParsePipelining(config.ReadString(section, "Pipelining", "Auto"));
}

}  // namespace larkspin
