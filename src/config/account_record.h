#pragma once
// One account's settings as a value: the identity the compose window sends with.
#include <string>

#include "platform/tls_channel.h"

namespace larkspin {

struct AccountRecord {
  int account_number = 0;
  int pop3_port = 110;
  int smtp_port = 25;
  std::string reply_address;
  std::string mail_address;
  std::string full_name;
  std::string smtp_host;
  std::string pop3_host;
  std::string display_name;
  std::string password;  // plain, after the credential step
  std::string login;     // plain, after the credential step
  std::string authentication;
  TlsOptions pop3_tls;  // POP3Security, TLSVerify, TLSCAFile
  TlsOptions smtp_tls;  // SMTPSecurity, TLSVerify, TLSCAFile
};

}  // namespace larkspin
