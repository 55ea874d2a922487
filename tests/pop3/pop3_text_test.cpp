#include "pop3/pop3_text.h"

#include <gtest/gtest.h>

namespace larkspin {
namespace {

CPop3Text TextOf(const std::string& text) {
  CPop3Text message;
  message.SetText(text);
  return message;
}

TEST(Pop3TextTest, SplitsHeaderAndBodyAtTheFirstEmptyLine) {
  const CPop3Text message = TextOf("From: a@b\r\nSubject: s\r\n\r\nbody\r\n\r\nmore");
  EXPECT_EQ(message.HeaderText(), "From: a@b\r\nSubject: s");
  EXPECT_EQ(message.BodyText(), "body\r\n\r\nmore");
  const CPop3Text header_only = TextOf("From: a@b\r\nSubject: s\r\n");
  EXPECT_EQ(header_only.HeaderText(), "From: a@b\r\nSubject: s\r\n");
  EXPECT_EQ(header_only.BodyText(), "");
}

TEST(Pop3TextTest, HeaderFieldsAreFoundIgnoringCaseAndUnfolded) {
  const CPop3Text message = TextOf(
      "Received: from x\r\n\tby y\r\n"
      "X-Subject: not this one\r\n"
      "subject:  Quarterly\r\n report\r\n\tfor\tMarch  \r\n"
      "From: \"Anna\" <anna@example.org>\r\n"
      "Subject: second subject\r\n"
      "\r\n"
      "Date: in the body\r\n");
  EXPECT_EQ(message.HeaderField("Subject"), "Quarterly report for March");
  EXPECT_EQ(message.HeaderField("FROM"), "\"Anna\" <anna@example.org>");
  EXPECT_EQ(message.HeaderField("Received"), "from x by y");
  EXPECT_EQ(message.HeaderField("Date"), "");
  EXPECT_EQ(message.HeaderField("Subj"), "");  // the name must be followed directly by the colon
}

TEST(Pop3TextTest, FieldOnTheLastLineRunsToTheEnd) {
  EXPECT_EQ(TextOf("To: x@y").HeaderField("To"), "x@y");
  EXPECT_EQ(TextOf("To:").HeaderField("To"), "");
}

}  // namespace
}  // namespace larkspin
