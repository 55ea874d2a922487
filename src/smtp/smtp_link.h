#pragma once
// The SMTP connection's TCP transport.
#include "platform/socket_link.h"

namespace larkspin {

class CSMTPLink : public CSocketLink {};

}  // namespace larkspin
