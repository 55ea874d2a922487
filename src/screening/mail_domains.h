#pragma once
// The domains of mail addresses as screening compares them. All results are in lower case.
#include <string>
#include <string_view>

namespace larkspin {

// The part after the last "@", lower case without a final dot; empty for an address without one.
std::string AddressDomain(std::string_view address);

// Whether domain is parent or one of its subdomains ("mail.shop.example" under "shop.example").
bool IsDomainOrSubdomain(std::string_view domain, std::string_view parent);

// The domain a registrant holds, approximated without the public suffix list: the last two labels,
// or the last three where the last is a two-letter country code and the one before it a short
// generic label (ac, co, com, edu, gov, net, org: "shop.co.uk", "bank.com.au"). A domain of one
// or two labels is returned whole. Suffixes outside that rule ("city.state.us", "github.io") are
// read too broadly, which only makes two such domains look alike.
std::string RegistrableDomain(std::string_view domain);

}  // namespace larkspin
