#include "mailbox/stored_text.h"

#include <gtest/gtest.h>

namespace larkspin {
namespace {

const std::string kShortText = "\r\nContent-Type: text/plain\r\n\r\nShort text.\r\n--";
const std::string kLongAttachment =
    "\r\nContent-Type: application/pdf; name=\"b.pdf\"\r\nContent-Transfer-Encoding: base64\r\n\r\n"
    "JVBERi0xLjQKJcfsj6IKNSAwIG9iago8PC9MZW5ndGggNiAwIFIvRmlsdGVyIC9GbGF0ZURlY29kZT4+\r\n--";

std::string MixedBody(const std::string& first, const std::string& last) {
  return "This is a multi-part message in MIME format.\r\n--XYZ" + first + "XYZ" + last + "XYZ--\r\n";
}

TEST(QuotedBoundaryTest, TakesTheQuotedParameterInEitherSpelling) {
  EXPECT_EQ(QuotedBoundary("multipart/mixed; boundary=\"XYZ\""), "XYZ");
  EXPECT_EQ(QuotedBoundary("multipart/mixed; Boundary=\"Upper\"; boundary=\"lower\""), "Upper");
  EXPECT_EQ(QuotedBoundary("multipart/mixed; boundary=XYZ"), "");
  EXPECT_EQ(QuotedBoundary("multipart/mixed; BOUNDARY=\"XYZ\""), "");
}

TEST(StoredTextTest, HtmlIsRecognisedInAnyCaseAndStripped) {
  const StoredTextChoice choice = ChooseStoredText("Text/HTML; charset=iso-8859-1", "<p>Hi<br>there<br/>!</p>");
  EXPECT_EQ(choice.kind, BodyKind::kHtml);
  EXPECT_EQ(choice.text, "Hi\nthere!");
  EXPECT_FALSE(choice.split_attachments);
}

TEST(StoredTextTest, AlternativeStoresTheFirstPartWithItsHeaderLines) {
  const std::string body =
      "--ALT\r\nContent-Type: text/plain\r\n\r\nPlain.\r\n--ALT\r\nContent-Type: text/html\r\n\r\n<p>Html.</p>\r\n"
      "--ALT--\r\n";
  const StoredTextChoice choice = ChooseStoredText("multipart/alternative;\r\n boundary=\"ALT\"", body);
  EXPECT_EQ(choice.kind, BodyKind::kAlternative);
  EXPECT_EQ(choice.text, "\r\nContent-Type: text/plain\r\n\r\nPlain.\r\n--");
  EXPECT_FALSE(choice.split_attachments);
}

TEST(StoredTextTest, MixedStoresTheShorterOfFirstAndLastPart) {
  StoredTextChoice choice = ChooseStoredText("multipart/mixed; boundary=\"XYZ\"", MixedBody(kShortText, kLongAttachment));
  EXPECT_EQ(choice.kind, BodyKind::kMixed);
  EXPECT_EQ(choice.boundary, "XYZ");
  EXPECT_EQ(choice.text, kShortText);
  EXPECT_TRUE(choice.split_attachments);
  choice = ChooseStoredText("multipart/mixed; boundary=\"XYZ\"", MixedBody(kLongAttachment, kShortText));
  EXPECT_EQ(choice.text, kShortText);
}

TEST(StoredTextTest, MixedPartsOfEqualLengthGiveTheLastPart) {
  const StoredTextChoice choice =
      ChooseStoredText("multipart/mixed; boundary=\"XYZ\"", "--XYZ first --XYZ middle-part --XYZ last! --XYZ--");
  EXPECT_EQ(choice.text, " last! --");
}

TEST(StoredTextTest, MixedWithANestedMultipartStoresItsFirstSubPart) {
  const std::string nested =
      "\r\nContent-Type: multipart/alternative; boundary=\"INNER\"\r\n\r\n--INNER\r\nContent-Type: text/plain\r\n\r\n"
      "Plain.\r\n--INNER\r\nContent-Type: text/html\r\n\r\n<p>Html.</p>\r\n--INNER--\r\n--";
  const StoredTextChoice choice =
      ChooseStoredText("multipart/mixed; boundary=\"XYZ\"", MixedBody(nested, kLongAttachment + kLongAttachment));
  EXPECT_EQ(choice.text, "\r\nContent-Type: text/plain\r\n\r\nPlain.\r\n--");
}

TEST(StoredTextTest, TheTypeIsTestedInOrderHtmlFirst) {
  EXPECT_EQ(ChooseStoredText("multipart/mixed; boundary=\"text/html\"", "x").kind, BodyKind::kHtml);
  EXPECT_EQ(ChooseStoredText("text/plain", "Hello <b>").kind, BodyKind::kOther);
  EXPECT_EQ(ChooseStoredText("text/plain", "Hello <b>").text, "Hello <b>");
  EXPECT_EQ(ChooseStoredText("", "body").text, "body");
}

TEST(StoredTextTest, AMultipartBodyWithoutUsableBoundaryIsStoredWhole) {
  const std::string body = MixedBody(kShortText, kLongAttachment);
  StoredTextChoice choice = ChooseStoredText("multipart/mixed; boundary=XYZ", body);
  EXPECT_EQ(choice.text, body);
  EXPECT_FALSE(choice.split_attachments);
  choice = ChooseStoredText("multipart/mixed; boundary=\"ABSENT\"", body);
  EXPECT_EQ(choice.text, body);
  EXPECT_TRUE(choice.split_attachments);
  EXPECT_EQ(ChooseStoredText("multipart/alternative; boundary=\"ABSENT\"", body).text, body);
}

TEST(StoredTextTest, ABoundaryThatOccursOnceKeepsPartsWithinTheBody) {
  // The only occurrence: the first part runs to the end, the part before it is the preamble.
  const StoredTextChoice choice = ChooseStoredText("multipart/mixed; boundary=\"XYZ\"", "pre--XYZ the rest of it");
  EXPECT_EQ(choice.text, "pre--");
}

}  // namespace
}  // namespace larkspin
