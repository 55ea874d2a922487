#include "config/account_tls.h"

namespace larkspin {

TlsOptions ReadTlsOptions(const CIniFile& config, const std::string& section, const char* security_key) {
  TlsOptions options;
  options.mode = ParseTlsMode(config.ReadString(section, security_key, "None"));
  options.verify = config.ReadInt(section, "TLSVerify", 1) != 0;
  options.ca_file = config.ReadString(section, "TLSCAFile", "");
  return options;
}

}  // namespace larkspin
