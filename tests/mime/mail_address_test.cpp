#include "mime/mail_address.h"

#include <gtest/gtest.h>

#include <vector>

namespace larkspin {
namespace {

struct AddressCase {
  const char* value;
  std::vector<MailAddress> addresses;
};

TEST(MailAddressTest, ReadsTheFormsRealMailWrites) {
  const std::vector<AddressCase> cases = {
      {"anna@example.org", {{"anna@example.org", ""}}},
      {"Anna Berg <anna@example.org>", {{"anna@example.org", "Anna Berg"}}},
      {"\"Berg, Anna\" <anna@example.org>", {{"anna@example.org", "Berg, Anna"}}},
      {"anna@example.org (Anna Berg)", {{"anna@example.org", "Anna Berg"}}},
      {"anna@example.org (Anna (home) Berg)", {{"anna@example.org", "Anna (home) Berg"}}},
      {"\"Anna \\\"AB\\\" Berg\"   <anna@example.org>", {{"anna@example.org", "Anna \"AB\" Berg"}}},
      {"<anna@example.org>", {{"anna@example.org", ""}}},
      {"<@relay.example.net:anna@example.org>", {{"anna@example.org", ""}}},
      {"Anna\r\n  Berg <anna@example.org> (work)", {{"anna@example.org", "Anna Berg"}}},
      {"=?UTF-8?Q?J=C3=BCrgen?= <j@example.de>, ben@example.org, \"Chen\" <chen@example.cn>",
       {{"j@example.de", "=?UTF-8?Q?J=C3=BCrgen?="}, {"ben@example.org", ""}, {"chen@example.cn", "Chen"}}},
      {"Team: a@example.org, Bo <b@example.org>;, c@example.org",
       {{"a@example.org", ""}, {"b@example.org", "Bo"}, {"c@example.org", ""}}},
      {"undisclosed-recipients:;", {}},
      {"\"john doe\"@example.org", {{"\"john doe\"@example.org", ""}}},
      {"", {}},
      {" , ,", {}},
  };
  for (const AddressCase& c : cases) EXPECT_EQ(ParseAddressList(c.value), c.addresses) << c.value;
}

}  // namespace
}  // namespace larkspin
