#include "mime/encoded_words.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "mime/mail_header.h"
#include "support/python_check.h"

namespace larkspin {
namespace {

using test_support::BytesOfHex;
using test_support::HexOf;
using test_support::RunPython;

// Header values as mail programs write them: one encoded word or several, adjacent or among
// plain text, folded, in an unknown charset, or broken. Python's email package gives the
// reference for each; the script adds values made by email.header and email.utils themselves.
const std::vector<std::string> kValues = {
    "=?utf-8?q?Gr=C3=BC=C3=9Fe_aus_K=C3=B6ln?=",
    "=?UTF-8?Q?Gr=c3=bc=c3=9fe?=",
    "=?Utf-8?b?R3LDvMOfZQ==?=",
    "=?iso-8859-1?q?J=F6rg?= <joerg@example.org>",
    "=?ISO-8859-1?Q?Andr=E9?= Pirard <PIRARD@vm1.ulg.ac.be>",
    "=?ISO-8859-15?Q?=A4uro?=",
    "=?windows-1252?Q?=93quoted=94_text?=",
    "=?windows-1251?B?z/Do4uXy?=",
    "=?koi8-r?B?8NLJ18XU?=",
    "=?iso-2022-jp?B?GyRCJEskWyRzJDQbKEI=?=",
    "=?shift_jis?B?k/qWew==?=",
    "=?gb2312?B?xOO6ww==?=",
    "=?big5?B?p0Gmbg==?=",
    "=?euc-kr?B?vsiz58fPvLy/5A==?=",
    "=?ks_c_5601-1987?b?vsiz58fPvLy/5A==?=",
    "=?iso-8859-2?q?=A3=F3d=BC?=",
    "=?iso-8859-7?b?5evr5+3p6tw=?=",
    "=?utf-8?q?a?= =?utf-8?q?b?=",
    "=?utf-8?q?a?=   =?iso-8859-1?q?=E9?=",
    "=?utf-8?q?a?==?utf-8?q?b?=",
    "=?utf-8?Q?a?=\t=?utf-8?Q?b?=",
    "Re: =?utf-8?q?caf=C3=A9?= and more",
    "[list] =?utf-8?b?w6l0w6k=?= (2 of 3)",
    "=?utf-8?q?split_=C3?= =?utf-8?q?=A9_char?=",
    "=?UTF-8?B?8J+YgA==?=",
    "=?UTF-8?q?=F0=9F=8E=89_Party?=",
    "=?utf-8?q?with_underscore_and=5Fescape?=",
    "=?utf-8?q?space in text?=",
    "=?utf-8?b?YQ?=",
    "=?utf-8?q?" "?=",
    "=?us-ascii?q?plain?=",
    "=?UTF-8?B?5pel5pys6Kqe?=",
    "=?UTF-8?B?16nXnNeV150=?=",
    "=?utf-8?b?2YXYsdit2KjYpw==?=",
    "a =?utf-8?q?b?= c =?utf-8?q?d?= e",
    "Price: 5 =?utf-8?q?=E2=82=AC?=",
    "Re: Re: =?windows-1252?Q?Gr=FC=DFe?=",
    "=?iso-8859-1?q?caf=E9?= =?utf-8?q?caf=C3=A9?=",
    "=?UTF-8?B?SGVsbG8=?=\r\n =?UTF-8?B?IFdvcmxk?=",
    "=?utf-8?q?first_line?=\r\n\t=?utf-8?q?second_line?=",
    "Fwd: =?UTF-8?B?0J/RgNC40LLQtdGC?=\r\n =?UTF-8?B?INC80LjRgA==?=",
    "=?x-unknown?q?abc?=",
    "=?foo-bar?b?YWJj?=",
    "=?utf-8?x?abc?=",
    "=?utf-8?q?unterminated",
    "=?utf-8?b?Y?=",
    "=?utf-8?q?=FF=FE?=",
    "plain ascii subject",
    "Gr\xC3\xBC\xC3\x9F" "e ohne Kodierung",
};

// Reads hex-encoded values, one a line, adds values encoded by email.header.Header and
// email.utils.formataddr, and prints each value and its decoding as two hex fields, each after
// an "h" so that an empty one is a field too. A value
// Python cannot decode (unknown charset, bad base64, bytes invalid in their charset) is left
// as it is.
constexpr const char* kScript = R"(
import sys, email.header, email.utils, email.errors
values = [bytes.fromhex(line).decode('utf-8') for line in sys.stdin.read().split()]
def made(header):
    return header.encode(linesep='\r\n')
values += [
    made(email.header.Header('Привет из Москвы, 日本語のテキスト and 😀🎉 emoji in a long subject line', 'utf-8')),
    made(email.header.Header('Grüße aus München über das Wochenende, schöne Größe', 'iso-8859-1')),
    made(email.header.Header('日本語の件名です', 'iso-2022-jp')),
    made(email.header.Header('Ελληνικά και Русский текст', 'utf-8')),
    email.utils.formataddr(('Jürgen Müller 😀', 'jm@example.de'), charset='utf-8'),
    email.utils.formataddr(('Zoë Ångström', 'zoe@example.se'), charset='iso-8859-1'),
]
for value in values:
    try:
        decoded = str(email.header.make_header(email.header.decode_header(value)))
    except (LookupError, UnicodeDecodeError, email.errors.HeaderParseError):
        decoded = value
    print('h' + value.encode('utf-8').hex(), 'h' + decoded.encode('utf-8').hex())
)";

// The value as the peek reads it: a header field, unfolded.
std::string Unfolded(const std::string& value) {
  return HeaderFieldValue("Subject: " + value, "Subject");
}

TEST(EncodedWordsTest, DecodesAsPythonsEmailPackage) {
  std::string input;
  for (const std::string& value : kValues) input += HexOf(value) + "\n";
  int status = -1;
  std::istringstream lines(RunPython(kScript, input, &status));
  ASSERT_EQ(status, 0);
  size_t compared = 0;
  for (std::string value_hex, expected_hex; lines >> value_hex >> expected_hex; ++compared) {
    const std::string value = BytesOfHex(value_hex.substr(1));
    EXPECT_EQ(DecodeEncodedWords(Unfolded(value)), BytesOfHex(expected_hex.substr(1))) << value;
  }
  EXPECT_EQ(compared, kValues.size() + 6);
}

TEST(EncodedWordsTest, KeepsTextPythonDoesNotDecodeAndIsAlwaysValidUtf8) {
  // Plain Windows-1252 around a word, a word in a language-tagged charset, a word with 8-bit
  // bytes that cannot be decoded.
  const struct {
    std::string value;
    std::string decoded;
  } cases[] = {
      {"Gr\xFC\xDF =?utf-8?q?=C3=A9?=", "Gr\xC3\xBC\xC3\x9F \xC3\xA9"},
      {"=?utf-8*de?q?Stra=C3=9Fe?=", "Stra\xC3\x9F" "e"},
      {"=?x-unknown?q?\xE9?=", "=?x-unknown?q?\xC3\xA9?="},
      {"=?utf-8?q?a?= =?x-unknown?q?b?= =?utf-8?q?c?=", "a =?x-unknown?q?b?= c"},
  };
  for (const auto& c : cases) EXPECT_EQ(DecodeEncodedWords(c.value), c.decoded) << c.value;
}

}  // namespace
}  // namespace larkspin
