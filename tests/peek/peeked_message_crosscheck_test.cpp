// The facts of a listed message against Python's email package (policy.default): the From
// address and display name, the To and Cc addresses and the decoded Subject of headers as real
// mail programs, lists and senders of bulk mail write them.
#include <gtest/gtest.h>

#include <sstream>

#include "peek/peeked_message.h"
#include "support/python_check.h"

namespace larkspin {
namespace {

using test_support::BytesOfHex;
using test_support::HexOf;
using test_support::RunPython;

const char* const kHeaders[] = {
    // Gmail
    "From: \"Anna Berg\" <anna.berg@gmail.com>\r\nTo: bob@example.org, \"Lee, Carol\" <carol@example.org>\r\n"
    "Subject: =?UTF-8?Q?Gr=C3=BC=C3=9Fe_aus_K=C3=B6ln?=\r\nMessage-ID: <CAF=abc@mail.gmail.com>",
    // Outlook, folded recipients and an encoded display name
    "From: =?iso-8859-1?Q?J=F6rg_M=FCller?= <joerg@outlook.com>\r\nTo: =?utf-8?B?Wm/DqyBBbmdzdHLDtm0=?=\r\n"
    " <zoe@example.se>,\r\n\tMax <max@example.de>\r\nCc: team@example.org\r\nSubject: AW: Angebot\r\n",
    // Apple Mail, a quoted name with an "@" and a display name spoofing another address
    "From: \"support@paypal.com\" <x1@phish.example>\r\nTo: <anna@example.org>\r\nSubject: Your account\r\n",
    // A mailing list: the list's own address, a folded subject with a tag
    "From: Dev List <dev-bounces@lists.example.org>\r\nTo: dev@lists.example.org\r\n"
    "Subject: [dev] Re: a long subject line\r\n that is folded\r\nList-Id: <dev.lists.example.org>",
    // A newsletter with an encoded subject in two words
    "From: Shop <news@shop.example>\r\nTo: anna@example.org\r\n"
    "Subject: =?UTF-8?B?8J+OiSBTYWxl?= =?UTF-8?Q?_=E2=80=93_50_%?=\r\n",
    // Undisclosed recipients (a group), a bare address
    "From: bob@example.org\r\nTo: undisclosed-recipients:;\r\nSubject: plain\r\n",
    // Several addresses in To and Cc
    "From: Carol <carol@example.org>\r\nTo: a.b@example.org, dave@example.org\r\nCc: Eve <eve@example.org>, "
    "frank@example.org\r\nSubject: Notes\r\n",
};

// For each header: From's address and name, the To and Cc addresses joined by blanks, the
// Subject; each as hex, so blanks and line breaks survive.
constexpr const char* kScript = R"(
import sys, email.parser, email.policy
def hexed(text):
    return 'h' + text.encode('utf-8').hex()
for line in sys.stdin.read().split():
    message = email.parser.HeaderParser(policy=email.policy.default).parsestr(bytes.fromhex(line).decode('utf-8') + '\r\n\r\n')
    sender = message['from'].addresses[0]
    recipients = [a.addr_spec for field in ('to', 'cc') if message[field] for a in message[field].addresses]
    print(hexed(sender.addr_spec), hexed(sender.display_name), hexed(' '.join(recipients)), hexed(str(message['subject'])))
)";

std::string Recipients(const PeekedMessage& message) {
  std::string joined;
  for (const auto* addresses : {&message.to, &message.cc})
    for (const MailAddress& address : *addresses) joined += (joined.empty() ? "" : " ") + address.address;
  return joined;
}

TEST(PeekedMessageCrosscheckTest, AddressesAndSubjectsAreReadAsPythonsEmailPackageReadsThem) {
  std::string input;
  for (const char* header : kHeaders) input += HexOf(header) + "\n";
  int status = -1;
  std::istringstream lines(RunPython(kScript, input, &status));
  ASSERT_EQ(status, 0);
  size_t compared = 0;
  for (std::string address, name, recipients, subject; lines >> address >> name >> recipients >> subject; ++compared) {
    ASSERT_LT(compared, std::size(kHeaders));
    SCOPED_TRACE(kHeaders[compared]);
    const PeekedMessage message = MakePeekedMessage(1, "", 100, kHeaders[compared], TextEncoding::kUtf8);
    EXPECT_EQ(message.from.address, BytesOfHex(address.substr(1)));
    EXPECT_EQ(message.from.display_name, BytesOfHex(name.substr(1)));
    EXPECT_EQ(Recipients(message), BytesOfHex(recipients.substr(1)));
    EXPECT_EQ(message.subject, BytesOfHex(subject.substr(1)));
  }
  EXPECT_EQ(compared, std::size(kHeaders));
}

}  // namespace
}  // namespace larkspin
