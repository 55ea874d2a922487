#include "mailbox/section_decoder.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "config/log.h"
#include "mime/base64.h"
#include "support/temp_folder.h"

namespace larkspin {
namespace {

using test_support::ReadFile;
using test_support::ScopedWorkingDirectory;
using test_support::TempFolder;
using test_support::WriteFile;
using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::Not;

std::string AllBytes() {
  std::string bytes;
  for (int i = 0; i < 1000; ++i) bytes += static_cast<char>((i * 7) & 0xFF);
  return bytes;
}

std::string Base64Lines(const std::string& bytes) { return Base64Codec().EncodeLines(bytes); }

const std::string kTextA = "first attachment\r\nwith two lines\r\n";

// A body as a mail program sends it: a text part, then attachments.
std::string Part(const std::string& headers, const std::string& content) {
  return "--BOUNDARY\r\n" + headers + "\r\n" + content;
}
const std::string kPreamble = "This is a multi-part message in MIME format.\r\n";
const std::string kClosing = "--BOUNDARY--\r\n";
const std::string kPlainText = Part("Content-Type: text/plain; charset=us-ascii\r\nContent-Transfer-Encoding: 7bit\r\n",
                                    "Hello Ben,\r\n\r\nhere are the files.\r\n\r\n");
std::string Attachment(const std::string& type_line, const std::string& bytes) {
  return Part(type_line + "Content-Transfer-Encoding: base64\r\n", Base64Lines(bytes));
}

class SectionDecoderTest : public ::testing::Test {
 protected:
  SectionDecoderTest() : in_folder_(folder_.Path()) {
    std::filesystem::create_directories("attach");
    OpenLog("larkspin.log");
  }
  ~SectionDecoderTest() override { CloseLog(); }

  int Decode(const std::string& body) {
    WriteFile("body.tmp", body);
    split = DecodeBase64Sections("body.tmp", "attach/", names);
    return split.count;
  }

  // The log's messages without their time stamps.
  std::vector<std::string> LogMessages() const {
    std::vector<std::string> messages;
    std::istringstream log(ReadFile("larkspin.log"));
    for (std::string line; std::getline(log, line);) messages.push_back(line.substr(line.find(" \t") + 2));
    return messages;
  }

  std::vector<std::string> AttachFolderFiles() const {
    std::vector<std::string> files;
    for (const auto& entry : std::filesystem::directory_iterator("attach")) files.push_back(entry.path().filename());
    std::sort(files.begin(), files.end());
    return files;
  }

  TempFolder folder_;
  ScopedWorkingDirectory in_folder_;
  std::vector<std::string> names;
  SectionSplit split;
};

TEST_F(SectionDecoderTest, WritesTwoAttachmentsWithQuotedAndUnquotedNames) {
  const int result = Decode(kPreamble + kPlainText +
                            Attachment("Content-Type: text/plain; name=\"a.txt\"\r\n", kTextA) +
                            Attachment("Content-Type: application/pdf; name=b.pdf\r\n", AllBytes()) + kClosing);
  EXPECT_EQ(result, 2);
  EXPECT_THAT(names, ElementsAre("a.txt", "b.pdf"));
  EXPECT_EQ(ReadFile("attach/a.txt"), kTextA);
  EXPECT_EQ(ReadFile("attach/b.pdf"), AllBytes());
  EXPECT_THAT(LogMessages(), ElementsAre("Creating file 'a.txt'", "Creating file 'b.pdf'"));
  EXPECT_FALSE(std::filesystem::exists("$$$$$$$$.$$$"));
}

TEST_F(SectionDecoderTest, ReadsLfOnlyBodiesAndAppendsToTheGivenList) {
  names = {"earlier.txt"};
  std::string body = kPreamble + Attachment("Content-Type: text/plain; name=\"a.txt\"\r\n", kTextA) + kClosing;
  std::erase(body, '\r');
  EXPECT_EQ(Decode(body), 2);
  EXPECT_THAT(names, ElementsAre("earlier.txt", "a.txt"));
  EXPECT_EQ(ReadFile("attach/a.txt"), kTextA);
}

TEST_F(SectionDecoderTest, NameComesFromAFoldedLineAndFilenameIsNotUsed) {
  Decode(kPreamble + Attachment("Content-Type: application/octet-stream;\r\n\tname=\"folded.bin\"\r\n", "abc") +
         Attachment("Content-Type: application/octet-stream\r\n"
                    "Content-Disposition: attachment; filename=\"other.bin\"\r\n",
                    "def") +
         kClosing);
  EXPECT_THAT(names, ElementsAre("folded.bin"));
  EXPECT_EQ(ReadFile("attach/folded.bin"), "abc");
  // The unnamed second section stops the decoder.
  EXPECT_THAT(LogMessages(), Contains("No filename given for subsequent section. Stop Decoding."));
  EXPECT_THAT(AttachFolderFiles(), ElementsAre("folded.bin"));
}

TEST_F(SectionDecoderTest, ANameWithABlankKeepsItsFirstWord) {
  Decode(kPreamble + Attachment("Content-Type: image/gif; name=\"my pic.gif\"\r\n", "GIF89a") + kClosing);
  EXPECT_THAT(names, ElementsAre("my"));
  EXPECT_EQ(ReadFile("attach/my"), "GIF89a");
}

TEST_F(SectionDecoderTest, AQuotedPrintableTextPartBeforeTheAttachmentsWritesNothing) {
  const std::string text = Part("Content-Type: text/plain; charset=iso-8859-1\r\n"
                                "Content-Transfer-Encoding: quoted-printable\r\n",
                                "Gr=FC=DFe,\r\n\r\nThanks\r\nAnna\r\n");
  EXPECT_EQ(Decode(kPreamble + text + Attachment("Content-Type: text/plain; name=\"a.txt\"\r\n", kTextA) + kClosing),
            1);
  EXPECT_THAT(names, ElementsAre("a.txt"));
  EXPECT_EQ(ReadFile("attach/a.txt"), kTextA);
  EXPECT_THAT(LogMessages(), ElementsAre("Section  not MIME base64", "Creating file 'a.txt'"));
  EXPECT_THAT(AttachFolderFiles(), ElementsAre("a.txt"));
  EXPECT_FALSE(std::filesystem::exists("$$$$$$$$.$$$"));
}

TEST_F(SectionDecoderTest, ATextSectionAfterAnAttachmentStopsTheDecoder) {
  const std::string text =
      Part("Content-Type: text/plain\r\nContent-Transfer-Encoding: 7bit\r\n", "Regards\r\nAnna\r\nBerlin\r\n");
  EXPECT_EQ(Decode(kPreamble + Attachment("Content-Type: text/plain; name=\"a.txt\"\r\n", kTextA) + text +
                   Attachment("Content-Type: application/pdf; name=\"b.pdf\"\r\n", AllBytes()) + kClosing),
            1);
  EXPECT_THAT(names, ElementsAre("a.txt"));
  EXPECT_THAT(LogMessages(), ElementsAre("Creating file 'a.txt'", "Section  not MIME base64",
                                         "No filename given for subsequent section. Stop Decoding."));
  EXPECT_THAT(AttachFolderFiles(), ElementsAre("a.txt"));
}

TEST_F(SectionDecoderTest, PaddedDataEndsSilentlyAndCutDataIsReported) {
  // "abcd" is four bytes: its base64 ends with "==" padding.
  Decode("Content-Type: text/plain; name=padded.txt\r\nContent-Transfer-Encoding: base64\r\n\r\nYWJjZA==\r\n\r\n");
  EXPECT_EQ(ReadFile("attach/padded.txt"), "abcd");
  EXPECT_THAT(LogMessages(), ElementsAre("Creating file 'padded.txt'"));
}

TEST_F(SectionDecoderTest, DataCutBeforeAnEmptyLineIsReported) {
  Decode("Content-Type: text/plain; name=cut.txt\r\n\r\nYWJjZA\r\n\r\n");
  EXPECT_EQ(ReadFile("attach/cut.txt"), "abcd");
  EXPECT_THAT(LogMessages(), ElementsAre("Creating file 'cut.txt'",
                                         "Unexpected end of section in 'cut.txt'. Last few bytes may have been lost"));
}

TEST_F(SectionDecoderTest, DataCutByTheEndOfTheFileIsReported) {
  Decode("Content-Type: text/plain; name=end.txt\r\n\r\nYWJjZGU");
  EXPECT_EQ(ReadFile("attach/end.txt"), "abcde");
  EXPECT_THAT(LogMessages(),
              ElementsAre("Creating file 'end.txt'",
                          "Unexpected end of file encountered in 'end.txt'. Last few bytes may have been lost."));
}

TEST_F(SectionDecoderTest, ANamedSectionWithoutDataIsReported) {
  EXPECT_EQ(Decode("Content-Type: text/plain; name=empty.txt\r\nContent-Transfer-Encoding: base64\r\n\r\n"), 0);
  EXPECT_THAT(names, IsEmpty());
  EXPECT_THAT(LogMessages(), ElementsAre("No MIME base64 lines found in empty.txt"));
}

TEST_F(SectionDecoderTest, LinesLongerThanTheLineBufferAreReadInPieces) {
  const std::string bytes(600, 'x');
  std::string one_line = Base64Codec().Encode(bytes);
  ASSERT_GT(one_line.size(), 255u * 3);
  Decode("Content-Type: text/plain; name=long.txt\r\n\r\n" + one_line + "\r\n");
  EXPECT_EQ(ReadFile("attach/long.txt"), bytes);
}

TEST_F(SectionDecoderTest, AnUnreadableInputGivesMinusOne) {
  names = {"kept"};
  EXPECT_EQ(DecodeBase64Sections("missing.tmp", "attach/", names).count, -1);
  EXPECT_THAT(names, ElementsAre("kept"));
  EXPECT_THAT(AttachFolderFiles(), IsEmpty());
}

TEST_F(SectionDecoderTest, AnOutputThatCannotBeCreatedLosesOnlyItsSectionAndIsNotListed) {
  WriteFile("body.tmp", kPreamble + Attachment("Content-Type: text/plain; name=a.txt\r\n", "one") +
                            Attachment("Content-Type: text/plain; name=b.txt\r\n", "two") + kClosing);
  const SectionSplit result = DecodeBase64Sections("body.tmp", "no-such-folder/", names);
  EXPECT_EQ(result.count, 0);
  EXPECT_FALSE(result.whole);
  EXPECT_THAT(names, IsEmpty());
  EXPECT_THAT(LogMessages(), ElementsAre("Couldn't open no-such-folder/a.txt for output",
                                         "Couldn't open no-such-folder/b.txt for output"));
}

TEST_F(SectionDecoderTest, ATakenNameIsNumberedWithinAndAcrossMessages) {
  WriteFile("attach/scan.pdf", "from an earlier message");
  Decode(kPreamble + Attachment("Content-Type: application/pdf; name=scan.pdf\r\n", "one") +
         Attachment("Content-Type: application/pdf; name=scan.pdf\r\n", "two") + kClosing);
  EXPECT_THAT(names, ElementsAre("scan (2).pdf", "scan (3).pdf"));
  EXPECT_EQ(ReadFile("attach/scan.pdf"), "from an earlier message");
  EXPECT_EQ(ReadFile("attach/scan (2).pdf"), "one");
  EXPECT_EQ(ReadFile("attach/scan (3).pdf"), "two");
  EXPECT_TRUE(split.whole);
}

TEST_F(SectionDecoderTest, UnnamedDataAfterAnAttachmentStopsTheDecoderAndIsNotWhole) {
  Decode(kPreamble + Attachment("Content-Type: text/plain; name=a.txt\r\n", kTextA) +
         Part("Content-Type: text/plain\r\nContent-Transfer-Encoding: base64\r\n", Base64Lines("lost")) + kClosing);
  EXPECT_THAT(names, ElementsAre("a.txt"));
  EXPECT_FALSE(split.whole);
}

TEST_F(SectionDecoderTest, ANameEqualToTheInputWritesNothing) {
  WriteFile("body.tmp", "Content-Type: text/plain; name=BODY.TMP\r\n\r\nYWJjZA==\r\n");
  const std::string before = ReadFile("body.tmp");
  EXPECT_EQ(DecodeBase64Sections("body.tmp", "", names).count, 1);
  EXPECT_EQ(ReadFile("body.tmp"), before);
  EXPECT_FALSE(std::filesystem::exists("BODY.TMP"));
  EXPECT_THAT(LogMessages(), ElementsAre("Creating file 'BODY.TMP'", "No output file given or output same as input"));
}

TEST_F(SectionDecoderTest, NamesWithAPathAreReducedToTheirLastComponent) {
  std::filesystem::create_directories("attach/sub");
  Decode(kPreamble + Attachment("Content-Type: text/plain; name=\"../../evil.txt\"\r\n", "one") +
         Attachment("Content-Type: text/plain; name=/etc/passwd\r\n", "two") +
         Attachment("Content-Type: text/plain; name=..\\..\\win.ini\r\n", "three") + kClosing);
  EXPECT_THAT(names, ElementsAre("evil.txt", "passwd", "win.ini"));
  EXPECT_EQ(ReadFile("attach/evil.txt"), "one");
  EXPECT_EQ(ReadFile("attach/passwd"), "two");
  EXPECT_EQ(ReadFile("attach/win.ini"), "three");
  EXPECT_FALSE(std::filesystem::exists("../evil.txt"));
  EXPECT_THAT(LogMessages(), Contains("Attachment name '../../evil.txt' made safe as 'evil.txt'"));
}

TEST_F(SectionDecoderTest, ANameThatNamesNoFileIsStoredUnderAPlainName) {
  Decode(kPreamble + Attachment("Content-Type: text/plain; name=\"..\"\r\n", "dots") +
         Attachment("Content-Type: text/plain; name=\"sub/\"\r\n", "slash") +
         Attachment("Content-Type: text/plain; name=\"a.txt\"\r\n", kTextA) + kClosing);
  EXPECT_THAT(names, ElementsAre("attachment", "attachment (2)", "a.txt"));
  EXPECT_EQ(ReadFile("attach/attachment"), "dots");
  EXPECT_EQ(ReadFile("attach/attachment (2)"), "slash");
}

TEST_F(SectionDecoderTest, ASymbolicLinkInTheAttachFolderIsNotFollowed) {
  WriteFile("outside.txt", "untouched");
  std::filesystem::create_symlink("../outside.txt", "attach/a.txt");
  Decode("Content-Type: text/plain; name=a.txt\r\n\r\nYWJjZA==\r\n");
  EXPECT_EQ(ReadFile("outside.txt"), "untouched");
  EXPECT_THAT(names, ElementsAre("a (2).txt"));
  EXPECT_EQ(ReadFile("attach/a (2).txt"), "abcd");
}

}  // namespace
}  // namespace larkspin
