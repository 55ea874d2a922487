#include "mime/header_word.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "common/windows_1252.h"
#include "mime/quoted_printable.h"
#include "support/python_check.h"

namespace larkspin {
namespace {

using test_support::RunPython;

std::string Decoded(std::string value) {
  DecodeHeaderWord(value);
  return value;
}

TEST(HeaderWordTest, AnEncodedWordReplacesTheWholeValue) {
  // The reply prefix and the words after the encoded word are dropped.
  EXPECT_EQ(Decoded("Re: =?iso-8859-1?q?Gr=FC=DFe_aus_K=F6ln?= und mehr"), "Gr\xFC\xDF"
                                                                           "e_aus_K\xF6ln");
  EXPECT_EQ(Decoded("=?ISO-8859-1?Q?J=F6rg?= <joerg@example.org>"), "J\xF6rg");
  // Only the first of two words is kept.
  EXPECT_EQ(Decoded("=?iso-8859-1?q?first?= =?iso-8859-1?q?second?="), "first");
}

TEST(HeaderWordTest, TheLowerCasePrefixIsTriedFirst) {
  EXPECT_EQ(Decoded("=?ISO-8859-1?Q?upper?= =?iso-8859-1?q?lower?="), "lower");
}

TEST(HeaderWordTest, OtherSpellingsCharsetsAndTheBEncodingStayUnchanged) {
  for (const char* value : {"=?Iso-8859-1?Q?mixed?=", "=?iso-8859-1?Q?mixed?=", "=?utf-8?q?Gr=C3=BC=C3=9Fe?=",
                            "=?iso-8859-1?b?R3L8/GU=?=", "plain subject", ""}) {
    EXPECT_EQ(Decoded(value), value);
  }
}

TEST(HeaderWordTest, AnEmptyEncodedWordLeavesTheValue) {
  EXPECT_EQ(Decoded("x =?iso-8859-1?q?\?= y"), "x =?iso-8859-1?q?\?= y");
}


TEST(EncodeHeaderWordTest, AsciiChunksStayAsTheyAre) {
  EXPECT_EQ(EncodeHeaderWord("a=b?c_d", "iso-8859-1"), "a=b?c_d");
  EXPECT_EQ(EncodeHeaderWord("", "iso-8859-1"), "");
}

TEST(EncodeHeaderWordTest, AHighByteMakesTheWholeChunkOneEncodedWord) {
  EXPECT_EQ(EncodeHeaderWord("\xFC ", "iso-8859-1"), "=?iso-8859-1?q?=FC_?=");
  EXPECT_EQ(EncodeHeaderWord("x=?_\xE4", "iso-8859-1"), "=?iso-8859-1?q?x=3D=3F=5F=E4?=");
}

TEST(EncodeHeaderTextTest, EncodesTheWholeTextInWordsOfAtMost75CharactersSplitAtWholeCharacters) {
  struct Case {
    const char* name;
    std::string text;
    const char* charset;
    TextEncoding encoding;
  };
  std::string euros;
  for (int i = 0; i < 40; ++i) euros += "\xE2\x82\xAC";
  const Case cases[] = {
      {"Latin-1 with a high byte late", std::string(145, 'p') + "\xE4pppp", "iso-8859-1", TextEncoding::kClassic},
      {"three-byte characters", euros, "utf-8", TextEncoding::kUtf8},
      {"a plain run too long for a line", std::string(100, 'x'), "iso-8859-1", TextEncoding::kClassic},
  };
  for (const Case& test : cases) {
    SCOPED_TRACE(test.name);
    const std::string encoded = EncodeHeaderText(test.text, test.charset, test.encoding);
    std::string decoded;
    for (size_t start = 0; start < encoded.size();) {
      const size_t blank = std::min(encoded.find(' ', start), encoded.size());
      const std::string word = encoded.substr(start, blank - start);
      EXPECT_LE(word.size(), 75u);
      EXPECT_TRUE(word.starts_with("=?" + std::string(test.charset) + "?q?") && word.ends_with("?=")) << word;
      const std::string inner = DecodeQWordText(word.substr(word.find("?q?") + 3, word.size() - word.find("?q?") - 5));
      if (test.encoding == TextEncoding::kUtf8) EXPECT_TRUE(IsValidUtf8(inner)) << word;
      decoded += inner;
      start = blank + 1;
    }
    EXPECT_EQ(decoded, test.text);
  }
  EXPECT_EQ(EncodeHeaderText("short and plain", "iso-8859-1"), "short and plain");
  EXPECT_EQ(EncodeHeaderText("", "iso-8859-1"), "");
}

TEST(EncodeHeaderTextTest, Utf8CharsetConvertsFromWindows1252First) {
  EXPECT_EQ(EncodeHeaderText("K\xF6ln \x80", "UTF-8"), "=?UTF-8?q?K=C3=B6ln_=E2=82=AC?=");
  EXPECT_EQ(EncodeHeaderText("plain", "utf-8"), "plain");
}

TEST(EncodeHeaderTextTest, PythonDecodesTheEncodedWordsBack) {
  const std::string text = "Gr\xFC\xDF" "e und \xE4rger mit =?_ Zeichen, " + std::string(60, 'l') + " \xDC" "ber";
  const std::string decoded = RunPython(
      "import sys\nfrom email.header import decode_header, make_header\n"
      "value = sys.stdin.buffer.read().decode('ascii')\n"
      "sys.stdout.buffer.write(str(make_header(decode_header(value))).encode('latin-1'))\n",
      EncodeHeaderText(text, "iso-8859-1"));
  EXPECT_EQ(decoded, text);
}

}  // namespace
}  // namespace larkspin
