#include "config/account_tls.h"

namespace larkspin {

const char* TlsModeSetting(TlsMode mode) {
  switch (mode) {
    case TlsMode::kImplicit:
      return "SSL";
    case TlsMode::kUpgrade:
      return "STARTTLS";
    default:
      return "None";
  }
}

TlsOptions ReadTlsOptions(const CIniFile& config, const std::string& section, const char* security_key) {
  TlsOptions options;
  options.mode = ParseTlsMode(config.ReadString(section, security_key, "None"));
  options.verify = config.ReadInt(section, "TLSVerify", 1) != 0;
  options.ca_file = config.ReadString(section, "TLSCAFile", "");
  return options;
}

}  // namespace larkspin
