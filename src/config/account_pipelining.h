#pragma once
// An account's [AccountN] Pipelining key: whether POP3 commands may go out before the replies to
// earlier ones are read. Auto (the default) pipelines when the server lists PIPELINING in its
// answer to CAPA, Always also when it does not (many servers accept it unlisted), Never not at all.
#include <string>

#include "config/ini_file.h"

namespace larkspin {

enum class Pipelining { kAuto, kAlways, kNever };

// The setting's value, case ignored; anything else reads as Auto.
Pipelining ParsePipelining(const std::string& setting);

Pipelining ReadPipelining(const CIniFile& config, const std::string& section);

}  // namespace larkspin
