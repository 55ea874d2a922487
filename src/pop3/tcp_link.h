#pragma once
// The POP3 client's TCP transport.
#include "platform/socket_link.h"

namespace larkspin {

class CTcpLink : public CSocketLink {};

}  // namespace larkspin
