#include "config/startup_settings.h"

#include <algorithm>

#include "config/ini_file.h"
#include "config/working_files.h"

namespace larkspin {

StartupSettings ReadStartupSettings() {
  const CIniFile config(kConfigFile);
  StartupSettings settings;
  settings.mail_threshold_kb = config.ReadInt("System", "MailThreshold", 100);
  settings.timeout_seconds = config.ReadInt("System", "TimeOut", 60);
  settings.peek_minutes = config.ReadInt("System", "PeekTime", 5);
  const int max_message_mb = config.ReadInt("System", "MaxMessageMB", settings.max_message_mb);
  if (max_message_mb >= 1) settings.max_message_mb = std::min(max_message_mb, 2047);
  return settings;
}

}  // namespace larkspin
