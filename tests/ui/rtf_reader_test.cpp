#include "ui/rtf_reader.h"

#include <gtest/gtest.h>

namespace larkspin {
namespace {

constexpr const char* kHeader =
    "{\\rtf1\\ansi\\ansicpg1252\\deff0\\deftab720{\\fonttbl{\\f0 Arial;}{\\f1 Courier New;}}"
    "{\\colortbl\\red0\\green0\\blue0;\\red255\\green0\\blue0;\\red0\\green255\\blue0;\\red0\\green0\\blue255;}";

TEST(RtfReaderTest, ReadsTextWithFontSizeAndColourOfEachRun) {
  const std::string rtf = std::string(kHeader) + "\\plain\\f0\\fs20\\cb0\\cf0 Hi\r\n\\par " + kHeader +
                          "\\plain\\f1\\fs30\\cb0\\cf3 blue}}";
  const std::vector<RichTextRun> runs = ReadRtf(rtf);
  ASSERT_EQ(runs.size(), 2u);
  EXPECT_EQ(runs[0], (RichTextRun{"Hi\r\n", "Arial", 20, Rgb(0, 0, 0)}));
  EXPECT_EQ(runs[1], (RichTextRun{"blue", "Courier New", 30, Rgb(0, 0, 255)}));
}

TEST(RtfReaderTest, EscapesAndHexBytesGiveTheirCharacters) {
  const std::string rtf = std::string(kHeader) + "\\plain\\f0\\fs20\\cf0 a\\\\b\\{c\\}d\\'e4\\'FCe}";
  EXPECT_EQ(PlainTextOf(ReadRtf(rtf)), "a\\b{c}d\xE4\xFC" "e");
}

TEST(RtfReaderTest, RawLineBreaksInTheSourceAreNotText) {
  const std::string rtf = std::string(kHeader) + "\\plain\\f0\\fs20\\cf0 one\r\r\n\\par two}";
  EXPECT_EQ(PlainTextOf(ReadRtf(rtf)), "one\r\ntwo");
}

TEST(RtfReaderTest, UnknownDestinationsAreSkippedAndBrokenInputEnds) {
  EXPECT_EQ(PlainTextOf(ReadRtf("{\\rtf1{\\*\\generator Writer 1.0;}text}")), "text");
  EXPECT_EQ(PlainTextOf(ReadRtf("{\\rtf1 abc\\")), "abc");
  EXPECT_EQ(PlainTextOf(ReadRtf("}}}x{{")), "x");
  EXPECT_EQ(PlainTextOf(ReadRtf("{\\rtf1 \\'4")), "\x04");
}

}  // namespace
}  // namespace larkspin
