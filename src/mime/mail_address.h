#pragma once
// The addresses of a received From, To, Cc or Reply-To value as RFC 5322 writes them: a list
// separated by commas of "Display Name <local@domain>", a bare "local@domain", the comment form
// "local@domain (Display Name)", and groups "Team: a@x, b@y;" (their members listed, the group's
// name dropped). Quoted names lose their quotes and backslashes; comments may nest; an
// obsolete source route "<@relay:local@domain>" is dropped; blanks in a name are collapsed to
// one. Display names come back as written: encoded words are for the caller to decode.
#include <string>
#include <string_view>
#include <vector>

namespace larkspin {

struct MailAddress {
  std::string address;       // "local@domain" as written, without blanks; empty when none was given
  std::string display_name;  // the phrase before "<", else the comment after a bare address, else empty
  bool operator==(const MailAddress&) const = default;
};

// The addresses in the order written; an entry with neither address nor name is left out.
std::vector<MailAddress> ParseAddressList(std::string_view value);

}  // namespace larkspin
