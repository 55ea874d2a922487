#include "peek/stored_messages.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "pop3/pop3_text.h"
#include "support/temp_folder.h"

namespace larkspin {
namespace {

using test_support::ReadFile;
using test_support::ScopedWorkingDirectory;
using test_support::TempFolder;
using test_support::WriteFile;

constexpr char kDateId[] = "02_03_2026_10_11_12_+0100";
constexpr char kDateFile[] = "mailbox1/msg02_03_2026_10_11_12_+0100.txt";
constexpr char kSecondFile[] = "mailbox1/msg02_03_2026_10_11_12_+0100_2.txt";

CPop3Text Message(const std::string& from, const std::string& subject) {
  CPop3Text message;
  message.SetText("From: " + from + "\r\nDate: Mon, 2 Mar 2026 10:11:12 +0100\r\nSubject: " + subject + "\r\n\r\nText");
  return message;
}

CMailHeader HeaderOf(const CPop3Text& message) { return CMailHeader(std::string(message.HeaderText())); }

// The file as the download writes it for message.
void WriteStoredFile(const std::string& path, const CPop3Text& message) {
  WriteFile(path, StoredHeaderLines(StoredHeaderOf(HeaderOf(message), TextEncoding::kClassic)) + "Text");
}

class StoredMessagesTest : public ::testing::Test {
 protected:
  StoredMessagesTest() : in_folder_(folder_.Path()) { std::filesystem::create_directories("mailbox1"); }

  std::string FileOf(const CPop3Text& message, const MessageIdentity& identity) const {
    return CStoredMessages(1).FileOf(HeaderOf(message), identity, kDateId, TextEncoding::kClassic);
  }

  TempFolder folder_;
  ScopedWorkingDirectory in_folder_;
  const CPop3Text anna_ = Message("anna@example.org", "Agenda");
  const CPop3Text ben_ = Message("ben@example.org", "Invoice");
};

TEST_F(StoredMessagesTest, AMessageIsToldByItsUidlElseItsMessageIdAndSizeElseItsDateAndFrom) {
  const struct {
    MessageIdentity recorded;
    MessageIdentity now;
    const CPop3Text* message_now;
    bool same;
  } cases[] = {
      {{"U1", 10, "<a@x>"}, {"U1", 99, "<other@x>"}, &ben_, true},
      {{"U1", 10, "<a@x>"}, {"U2", 10, "<a@x>"}, &anna_, false},
      {{"", 10, "<a@x>"}, {"U2", 10, "<a@x>"}, &anna_, true},
      {{"", 10, "<a@x>"}, {"", 11, "<a@x>"}, &anna_, false},
      {{"", 10, "<a@x>"}, {"", 10, ""}, &anna_, false},
      {{"", 10, ""}, {"", 10, ""}, &anna_, true},
      {{"", 10, ""}, {"", 10, ""}, &ben_, false},
  };
  for (const auto& c : cases) {
    std::filesystem::remove_all("mailbox1");
    std::filesystem::create_directories("mailbox1");
    WriteStoredFile(kDateFile, anna_);
    ASSERT_TRUE(CStoredMessages(1).Record(c.recorded, "", kDateFile));
    EXPECT_EQ(FileOf(*c.message_now, c.now), c.same ? kDateFile : "")
        << c.recorded.unique_id << " " << c.recorded.message_id << " / " << c.now.unique_id << " " << c.now.message_id;
  }
}

TEST_F(StoredMessagesTest, ASecondMessageWithTheSameDateGetsAFileOfItsOwn) {
  CStoredMessages stored(1);
  EXPECT_EQ(stored.FreeFile(kDateFile), kDateFile);
  WriteStoredFile(kDateFile, anna_);
  ASSERT_TRUE(stored.Record({"U1", 10, "<a@x>"}, "<parent@x>", kDateFile));
  EXPECT_EQ(stored.FreeFile(kDateFile), kSecondFile);
  WriteStoredFile(kSecondFile, ben_);
  ASSERT_TRUE(stored.Record({"U2", 20, "<b@x>"}, "", kSecondFile));
  EXPECT_EQ(FileOf(anna_, {"U1", 10, "<a@x>"}), kDateFile);
  EXPECT_EQ(FileOf(ben_, {"U2", 20, "<b@x>"}), kSecondFile);
  EXPECT_EQ(FileOf(ben_, {"U3", 20, "<c@x>"}), "");
  EXPECT_EQ(ReadFile("mailbox1/stored.list"),
            "U1\t<a@x>\t<parent@x>\t10\tmsg02_03_2026_10_11_12_+0100.txt\n"
            "U2\t<b@x>\t\t20\tmsg02_03_2026_10_11_12_+0100_2.txt\n");
}

TEST_F(StoredMessagesTest, AnEntryWhoseFileIsGoneIsDroppedAndItsNameIsFreeAgain) {
  WriteStoredFile(kDateFile, anna_);
  ASSERT_TRUE(CStoredMessages(1).Record({"U1", 10, ""}, "", kDateFile));
  std::filesystem::remove(kDateFile);
  CStoredMessages stored(1);
  EXPECT_EQ(FileOf(anna_, {"U1", 10, ""}), "");
  EXPECT_EQ(stored.FreeFile(kDateFile), kDateFile);
  WriteStoredFile(kSecondFile, ben_);
  ASSERT_TRUE(stored.Record({"U2", 20, ""}, "", kSecondFile));
  EXPECT_EQ(ReadFile("mailbox1/stored.list"), "U2\t\t\t20\tmsg02_03_2026_10_11_12_+0100_2.txt\n");
}

TEST_F(StoredMessagesTest, AFileOfAnEarlierVersionHoldsTheMessageOnlyWhenFromSentAndSubjectMatch) {
  WriteStoredFile(kDateFile, anna_);
  EXPECT_EQ(FileOf(anna_, {"U1", 10, "<a@x>"}), kDateFile);
  EXPECT_EQ(FileOf(Message("anna@example.org", "Other subject"), {"U1", 10, "<a@x>"}), "");
  EXPECT_EQ(FileOf(ben_, {"U2", 20, "<b@x>"}), "");
  EXPECT_EQ(CStoredMessages(1).FreeFile(kDateFile), kSecondFile);
}

TEST_F(StoredMessagesTest, LinesThatAreNoEntriesAreIgnored) {
  WriteStoredFile(kDateFile, anna_);
  WriteFile("mailbox1/stored.list", "garbage\nU1\t\t\tnot-a-size\tmsg02_03_2026_10_11_12_+0100.txt\n\t\t\t5\t\n");
  EXPECT_TRUE(CStoredMessages(1).FileOf(HeaderOf(ben_), {"U1", 10, ""}, kDateId, TextEncoding::kClassic).empty());
}

}  // namespace
}  // namespace larkspin
