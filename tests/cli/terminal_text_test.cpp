#include "cli/terminal_text.h"

#include <gtest/gtest.h>

namespace larkspin {
namespace {

TEST(TerminalTextTest, Utf8StaysAndWindows1252IsConverted) {
  EXPECT_EQ(TerminalText("Gr\u00fc\u00dfe \u20ac"), "Gr\u00fc\u00dfe \u20ac");
  EXPECT_EQ(TerminalText("Gr\xFC\xDF"
                         "e \x80"),
            "Gr\u00fc\u00dfe \u20ac");
  EXPECT_EQ(TerminalText(""), "");
}

TEST(TerminalTextTest, ControlCharactersBecomeBlanks) {
  EXPECT_EQ(TerminalText("a\tb\r\nc\x1B[31md\x7F"), "a b  c [31md ");
  // C1 controls, whether written in UTF-8 or standing for undefined Windows-1252 bytes.
  EXPECT_EQ(TerminalText("x\u009by"), "x y");
  EXPECT_EQ(TerminalText("x\x81y\xFC"), "x y\u00fc");
}

}  // namespace
}  // namespace larkspin
