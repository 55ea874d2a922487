#include "config/startup_settings.h"

#include <algorithm>
#include <cstdint>

#include "common/string_tools.h"
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
  settings.text_encoding = TextEncodingOfSetting(config.ReadString("System", "Charsets", "Classic"));
  settings.notify = config.ReadInt("System", "Notify", 1) != 0;
  if (EqualsIgnoringCase(config.ReadString("System", "PasswordStore", "File"), "Keyring"))
    settings.password_store = PasswordStore::kKeyring;
  if (EqualsIgnoringCase(config.ReadString("System", "NewMailBy", "Count"), "Uidl"))
    settings.new_mail_by = NewMailRule::kUidl;
  settings.fast_peek = config.ReadInt("System", "FastPeek", 0) != 0;
  settings.parallel_accounts = std::clamp(config.ReadInt("System", "ParallelAccounts", 4), 1, 16);
  settings.preview_lines = std::clamp(config.ReadInt("System", "PreviewLines", 40), 1, 1000);
  return settings;
}

unsigned StartupSettings::ReplyTimeoutMs() const {
  const uint64_t milliseconds = static_cast<uint64_t>(std::max(timeout_seconds, 0)) * 1000;
  return static_cast<unsigned>(std::min<uint64_t>(milliseconds, UINT32_MAX));
}

}  // namespace larkspin
