#include "widgets/rtf_stream.h"

#include <gtest/gtest.h>

#include "res/control_ids.h"
#include "res/resources.h"
#include "ui/dialog.h"
#include "ui/headless/headless_backend.h"

namespace larkspin {
namespace {

constexpr const char* kDocumentStart = "{\\rtf1\\ansi\\ansicpg1252\\deff0\\deftab720";
constexpr const char* kColourTable =
    "{\\colortbl\\red0\\green0\\blue0;\\red255\\green0\\blue0;\\red0\\green255\\blue0;\\red0\\green0\\blue255;}";

class RtfStreamTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(view.Create()); }
  const std::vector<std::string>& Received() { return backend.WindowOf(view)->Control(kFileViewText)->rtf_received; }

  CHeadlessBackend backend;
  CScopedUiBackend installed{backend};
  CDialog view{kDialogFileView, nullptr};
};

TEST_F(RtfStreamTest, StreamsExactlyTheDocumentOfTheMessageViewExample) {
  CRtfStream() << SetSize(20) << SetFont("Arial") << AppendText("Hi") << SaveAttributes << FlushTo(view, kFileViewText);
  ASSERT_EQ(Received().size(), 1u);
  EXPECT_EQ(Received()[0], std::string(kDocumentStart) + "{\\fonttbl{\\f0 Arial;}}" + kColourTable +
                               "\\plain\\f0\\fs20\\cb0\\cf0 Hi}");
  EXPECT_EQ(view.ItemText(kFileViewText), "Hi");
}

TEST_F(RtfStreamTest, ComposeChainNestsTheBlueSignatureAfterTwoEmptyParagraphs) {
  CRtfStream() << SetSize(24) << SetFont("Courier New") << ColorBlack << AppendText("\n\r\n\r") << SaveAttributes
               << ColorBlue << AppendText("Regards\nAnn") << SaveAttributes << FlushTo(view, kFileViewText);
  const std::string tables = std::string("{\\fonttbl{\\f0 Arial;}{\\f1 Courier New;}}") + kColourTable;
  ASSERT_EQ(Received().size(), 1u);
  const std::string empty_paragraphs = "\\plain\\f1\\fs24\\cb0\\cf0 \r\n\\par \r\r\n\\par \r";
  const std::string signature = "\\plain\\f1\\fs24\\cb0\\cf3 Regards\r\n\\par Ann}";
  EXPECT_EQ(Received()[0], kDocumentStart + tables + empty_paragraphs + kDocumentStart + tables + signature);

  const std::vector<RichTextRun> runs = backend.WindowOf(view)->RichRuns(kFileViewText);
  ASSERT_EQ(runs.size(), 2u);
  EXPECT_EQ(runs[0].text, "\r\n\r\n");
  EXPECT_EQ(runs[1], (RichTextRun{"Regards\r\nAnn", "Courier New", 24, Rgb(0, 0, 255)}));
}

TEST_F(RtfStreamTest, SpecialCharactersAreEscapedAndShownAsThemselves) {
  CRtfStream() << AppendText("a{b}\\c \xE4") << FlushTo(view, kFileViewText);
  EXPECT_NE(Received()[0].find("\\cf0 a\\{b\\}\\\\c \xE4}"), std::string::npos);
  EXPECT_EQ(view.ItemText(kFileViewText), "a{b}\\c \xE4");
}

TEST_F(RtfStreamTest, SetFontGrowsTheFontListOnlyForANewName) {
  CRtfStream stream;
  stream << SetFont("Arial");
  EXPECT_EQ(stream.Fonts().size(), 1u);
  EXPECT_EQ(stream.Attributes().font_index, 0);
  stream << SetFont("arial");
  EXPECT_EQ(stream.Fonts(), (std::vector<std::string>{"Arial", "arial"}));
  EXPECT_EQ(stream.Attributes().font_index, 1);
  stream << SetFont("Arial");
  EXPECT_EQ(stream.Fonts().size(), 2u);
  EXPECT_EQ(stream.Attributes().font_index, 0);
}

TEST_F(RtfStreamTest, EmptyTextStillWritesAFragmentAndAnEmptyFlushOnlyCloses) {
  CRtfStream stream;
  stream << AppendText("");
  EXPECT_EQ(stream.Buffer(), std::string(kDocumentStart) + "{\\fonttbl{\\f0 Arial;}}" + kColourTable +
                                 "\\plain\\f0\\fs35\\cb0\\cf0 ");
  stream << FlushTo(view, kFileViewText) << FlushTo(view, kFileViewText);
  EXPECT_EQ(Received().back(), "}");
  EXPECT_EQ(stream.Buffer(), "");
}

TEST_F(RtfStreamTest, AnUnflushedBuilderLeavesTheControlUnchanged) {
  { CRtfStream() << AppendText("never shown"); }
  EXPECT_TRUE(Received().empty());
  EXPECT_EQ(view.ItemText(kFileViewText), "");
}

}  // namespace
}  // namespace larkspin
