#include "config/startup_settings.h"

#include "config/ini_file.h"
#include "config/working_files.h"

namespace larkspin {

StartupSettings ReadStartupSettings() {
  const CIniFile config(kConfigFile);
  StartupSettings settings;
  settings.mail_threshold_kb = config.ReadInt("System", "MailThreshold", 100);
  settings.timeout_seconds = config.ReadInt("System", "TimeOut", 60);
  settings.peek_minutes = config.ReadInt("System", "PeekTime", 5);
  return settings;
}

}  // namespace larkspin
