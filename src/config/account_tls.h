#pragma once
// An account's encryption settings in config.ini. Absent keys mean a plain connection with
// certificate checks on, so files written before these keys existed keep working.
#include <string>

#include "config/ini_file.h"
#include "platform/tls_channel.h"

namespace larkspin {

inline constexpr const char* kPop3SecurityKey = "POP3Security";
inline constexpr const char* kSmtpSecurityKey = "SMTPSecurity";

// The setting that names mode: "None", "SSL" or "STARTTLS" (kUnknown names none: "None").
const char* TlsModeSetting(TlsMode mode);

// security_key's mode ("None", "SSL", "STARTTLS") with TLSVerify (default 1) and TLSCAFile.
TlsOptions ReadTlsOptions(const CIniFile& config, const std::string& section, const char* security_key);

}  // namespace larkspin
