#pragma once
// What a server says it can do in its answer to CAPA (RFC 2449): the capabilities the client
// uses or reports. A server that refuses CAPA lists nothing, and is used as before CAPA existed.
#include <string>
#include <string_view>
#include <vector>

namespace larkspin {

struct Pop3Capabilities {
  bool answered = false;   // the server answered CAPA with "+OK"
  bool pipelining = false; // PIPELINING: commands may be sent before earlier replies are read
  bool top = false;
  bool uidl = false;
  bool stls = false;
  bool resp_codes = false;
  std::vector<std::string> sasl;  // the mechanisms SASL lists, as written
  std::string login_delay;        // LOGIN-DELAY's arguments, empty when not listed
};

// The capabilities of a CAPA answer's lines (after its status line, dot-unstuffed); a tag is
// matched without regard to case.
Pop3Capabilities ParseCapabilities(std::string_view listing);

}  // namespace larkspin
