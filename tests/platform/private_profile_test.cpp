#include "platform/private_profile.h"

#include <gtest/gtest.h>

#include "support/temp_folder.h"

namespace larkspin {
namespace {

using test_support::ReadFile;
using test_support::TempFolder;
using test_support::WriteFile;

class PrivateProfileTest : public ::testing::Test {
 protected:
  TempFolder folder;
  std::string path = folder.File("settings.ini");
};

TEST_F(PrivateProfileTest, MissingFileSectionOrKeyYieldsDefault) {
  EXPECT_EQ(ReadProfileString(path, "System", "Accounts", "0"), "0");
  WriteFile(path, "[System]\nPeekTime=3\n");
  EXPECT_EQ(ReadProfileString(path, "Other", "PeekTime", "d"), "d");
  EXPECT_EQ(ReadProfileString(path, "System", "Accounts", "d"), "d");
}

TEST_F(PrivateProfileTest, NamesMatchIgnoringCaseAndFirstMatchWins) {
  WriteFile(path,
            "; comment = not a key\r\n"
            "[system]\r\n"
            "  peektime = 7  \r\n"
            "PeekTime=8\r\n"
            "[SYSTEM]\r\n"
            "Other=1\r\n");
  EXPECT_EQ(ReadProfileString(path, "System", "PEEKTIME", ""), "7");
  EXPECT_EQ(ReadProfileString(path, "System", "Other", "none"), "none");
  EXPECT_EQ(ReadProfileString(path, "system", "; comment", "none"), "none");
}

TEST_F(PrivateProfileTest, WriteCreatesFileSectionAndKey) {
  ASSERT_TRUE(WriteProfileString(path, "Account1", "POP3Account", "fff"));
  EXPECT_EQ(ReadFile(path), "[Account1]\nPOP3Account=fff\n");
  ASSERT_TRUE(WriteProfileString(path, "Account1", "POP3Password", "x"));
  ASSERT_TRUE(WriteProfileString(path, "Account2", "POP3Account", "y"));
  EXPECT_EQ(ReadFile(path), "[Account1]\nPOP3Account=fff\nPOP3Password=x\n[Account2]\nPOP3Account=y\n");
}

TEST_F(PrivateProfileTest, WriteReplacesInPlaceKeepingEveryOtherByte) {
  const std::string before =
      "; Larkspin settings\r\n"
      "[Account1]\r\n"
      "POP3Host = mail.example.org ; primary\r\n"
      "pop3account=old\r\n"
      "\r\n"
      "; next account\r\n"
      "[Account2]\r\n"
      "POP3Host=other";
  WriteFile(path, before);
  ASSERT_TRUE(WriteProfileString(path, "ACCOUNT1", "POP3Account", "new"));
  std::string expected = before;
  expected.replace(expected.find("pop3account=old"), 15, "POP3Account=new");
  EXPECT_EQ(ReadFile(path), expected);

  // A new key goes after the section's last key, before its blank line and the next comment;
  // a last line without a line end gets one in the file's own style.
  ASSERT_TRUE(WriteProfileString(path, "Account1", "POP3Password", "pw"));
  ASSERT_TRUE(WriteProfileString(path, "Account2", "POP3Port", "995"));
  EXPECT_EQ(ReadFile(path),
            "; Larkspin settings\r\n"
            "[Account1]\r\n"
            "POP3Host = mail.example.org ; primary\r\n"
            "POP3Account=new\r\n"
            "POP3Password=pw\r\n"
            "\r\n"
            "; next account\r\n"
            "[Account2]\r\n"
            "POP3Host=other\r\n"
            "POP3Port=995\r\n");
}

TEST_F(PrivateProfileTest, ValuesSurviveTheRoundTripWhateverTheirEdges) {
  // Scrambled passwords can begin or end with blanks or quotes; they must read back unchanged.
  for (const std::string value : {" lead", "trail\t", "\"quoted\"", "\"", "a\"b", ""}) {
    ASSERT_TRUE(WriteProfileString(path, "S", "K", value));
    EXPECT_EQ(ReadProfileString(path, "S", "K", "default"), value) << "[" << value << "]";
  }
}

TEST_F(PrivateProfileTest, RefusesLineBreaksThatWouldCorruptTheFile) {
  WriteFile(path, "[S]\nK=1\n");
  EXPECT_FALSE(WriteProfileString(path, "S", "K", "two\nlines"));
  EXPECT_FALSE(WriteProfileString(path, "S", "K\r", "v"));
  EXPECT_EQ(ReadFile(path), "[S]\nK=1\n");
}

TEST_F(PrivateProfileTest, RemovingAKeyOrASectionKeepsEveryOtherByte) {
  const std::string before =
      "; accounts\r\n"
      "[Users]\r\n"
      "Account1=Home\r\n"
      "account2=Work ; the office\r\n"
      "\r\n"
      "[Account2]\r\n"
      "POP3Host=work\r\n"
      "; the login\r\n"
      "POP3Account=x\r\n"
      "\r\n"
      "; the next one\r\n"
      "[Account3]\r\n"
      "POP3Host=other";
  WriteFile(path, before);
  ASSERT_TRUE(RemoveProfileKey(path, "USERS", "Account2"));
  ASSERT_TRUE(RemoveProfileSection(path, "account2"));
  EXPECT_EQ(ReadFile(path),
            "; accounts\r\n"
            "[Users]\r\n"
            "Account1=Home\r\n"
            "\r\n"
            "\r\n"
            "; the next one\r\n"
            "[Account3]\r\n"
            "POP3Host=other");
  for (const bool removed : {RemoveProfileKey(path, "Users", "Account9"), RemoveProfileSection(path, "Account9"),
                             RemoveProfileKey(folder.File("missing.ini"), "S", "K")})
    EXPECT_TRUE(removed) << "nothing to remove is no failure";
  ASSERT_TRUE(RemoveProfileSection(path, "Account3"));
  EXPECT_EQ(ReadProfileString(path, "Account3", "POP3Host", "gone"), "gone");
}

}  // namespace
}  // namespace larkspin
