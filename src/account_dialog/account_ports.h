#pragma once
// The port the account dialog fills in when a server's security changes: the usual port of the
// new mode, unless the field holds a port of the user's own (one that is no usual port of that
// protocol), which stays.
#include <string>

#include "platform/tls_channel.h"

namespace larkspin {

enum class MailProtocol { kPop3, kSmtp };

// POP3: 110, 995 (SSL), 110 (STARTTLS). SMTP: 25, or 587 when that is in the field already
// (submission without TLS); 465 (SSL); 587 (STARTTLS). Returns port_text itself when it stays.
std::string SuggestedPort(MailProtocol protocol, TlsMode mode, const std::string& port_text);

}  // namespace larkspin
