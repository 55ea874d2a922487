#include "peek/header_word.h"

#include <gtest/gtest.h>

namespace larkspin {
namespace {

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

}  // namespace
}  // namespace larkspin
