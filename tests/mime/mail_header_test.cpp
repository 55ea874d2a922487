#include "mime/mail_header.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace larkspin {
namespace {

using ::testing::ElementsAre;

constexpr std::string_view kHeader =
    "Received: from x\r\n\tby y\r\n"
    "X-Subject: not this one\r\n"
    "subject:  Quarterly\r\n report\r\n\tfor\tMarch  \r\n"
    "From: \"Anna\" <anna@example.org>\r\n"
    "Received: from z\r\n"
    "Subject: second subject";

TEST(MailHeaderTest, HeaderFieldsAreFoundIgnoringCaseAndUnfolded) {
  for (const CMailHeader& header : {CMailHeader(std::string(kHeader))}) {
    EXPECT_EQ(HeaderFieldValue(kHeader, "Subject"), "Quarterly report for March");
    EXPECT_EQ(header.First("Subject"), "Quarterly report for March");
    EXPECT_EQ(HeaderFieldValue(kHeader, "FROM"), "\"Anna\" <anna@example.org>");
    EXPECT_EQ(header.First("FROM"), "\"Anna\" <anna@example.org>");
    EXPECT_EQ(HeaderFieldValue(kHeader, "Received"), "from x by y");
    EXPECT_EQ(HeaderFieldValue(kHeader, "Date"), "");
    EXPECT_FALSE(header.Has("Date"));
    EXPECT_EQ(HeaderFieldValue(kHeader, "Subj"), "");  // the name must be followed directly by the colon
    EXPECT_EQ(header.First("Subj"), "");
  }
}

TEST(MailHeaderTest, EveryOccurrenceOfANameIsFoundInHeaderOrder) {
  const CMailHeader header{std::string(kHeader)};
  EXPECT_THAT(header.All("received"), ElementsAre("from x by y", "from z"));
  EXPECT_THAT(header.All("Subject"), ElementsAre("Quarterly report for March", "second subject"));
  EXPECT_THAT(header.All("Date"), ElementsAre());
}

TEST(MailHeaderTest, FieldOnTheLastLineRunsToTheEnd) {
  EXPECT_EQ(HeaderFieldValue("To: x@y", "To"), "x@y");
  EXPECT_EQ(HeaderFieldValue("To:", "To"), "");
  EXPECT_EQ(CMailHeader("To: x@y\r\n\t z").First("To"), "x@y  z");
}

// A line that is no field (a bare LF inside a line, garbage) hides nothing after it.
TEST(MailHeaderTest, LinesThatAreNoFieldAreSkipped) {
  const std::string header = "garbage line\r\nX: a\nSubject: hidden\r\nCc: c@d";
  EXPECT_EQ(HeaderFieldValue(header, "Subject"), "");
  EXPECT_EQ(CMailHeader(header).First("X"), "a\nSubject: hidden");
  EXPECT_EQ(CMailHeader(header).First("Cc"), "c@d");
}

}  // namespace
}  // namespace larkspin
