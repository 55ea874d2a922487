// "larkspin screen" against a real Dovecot: the dry run changes nothing, --apply deletes exactly
// the matched messages (each recorded in deleted.log) and stores the matched download, allow
// rules and the address book beat a matching delete, and a broken rule file stops everything.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>

#include "cli_runner.h"
#include "common/format.h"
#include "peek/deleted_log.h"
#include "support/dovecot_server.h"
#include "support/temp_folder.h"

namespace larkspin {
namespace {

using test_support::CliRun;
using test_support::RunLarkspin;
using test_support::WriteFile;
using ::testing::HasSubstr;
using ::testing::UnorderedElementsAreArray;

// The lines README shows, as written there.
constexpr const char* kRules =
    "# action  \"name\"              tests (all must hold)\n"
    "allow     \"The boss\"          from boss@company.example\n"
    "delete    \"Casino\"            from @casino.example\n"
    "delete    \"Pharma\"            subject /viagra|cialis/\n"
    "delete    \"Huge strangers\"    size > 2M  not-to-me\n"
    "download  \"Invoices\"          from *@billing.example  subject invoice\n"
    "flag      \"Server says spam\"  signal spam\n";

struct Mail {
  std::string from;
  std::string subject;
  std::string to = "me@home.example";
  std::string extra;  // more header lines, CRLF-ended
  size_t body_size = 100;
  const char* expected;  // action and rule columns
};

std::string MessageText(const Mail& mail, int number) {
  return FormatText("From: %s\r\nTo: %s\r\nSubject: %s\r\nDate: Mon, 2 Mar 2026 10:%02d:00 +0100\r\n"
                    "Message-ID: <m%d@example.org>\r\n%s\r\n",
                    mail.from.c_str(), mail.to.c_str(), mail.subject.c_str(), number, number, mail.extra.c_str()) +
         std::string(mail.body_size, 'x') + "\r\n";
}

std::vector<Mail> Mails() {
  std::vector<Mail> mails = {
      {"Lucky <win@casino.example>", "You won", "me@home.example", "", 100, "delete\tCasino"},
      {"Slots <s@eu.casino.example>", "Free spins", "me@home.example", "", 100, "delete\tCasino"},
      {"Pills <p@pharmacy.example>", "Cheap VIAGRA now", "me@home.example", "", 100, "delete\tPharma"},
      {"Boss <boss@company.example>", "viagra joke, ha", "me@home.example", "", 100, "allow\tThe boss"},
      {"Friend <friend@casino.example>", "Poker night", "me@home.example", "", 100, "allow\t(address book)"},
      {"Billing <bills@billing.example>", "Your invoice 42", "me@home.example", "", 100, "download\tInvoices"},
      {"Bulk <b@spam.example>", "Hello", "me@home.example", "X-Spam-Flag: YES\r\n", 100,
       "flag\tServer says spam"},
      {"Big <big@far.example>", "Photos", "other@far.example", "", 2200000, "delete\tHuge strangers"},
      {"Big <big@far.example>", "Photos for me", "me@home.example", "", 2200000, "-\t-"},
  };
  for (int n = static_cast<int>(mails.size()) + 1; n <= 30; ++n)
    mails.push_back({"Anna <anna@example.org>", "Note " + std::to_string(n), "me@home.example", "", 100, "-\t-"});
  return mails;
}

std::vector<std::string> SubjectsOf(const std::vector<Mail>& mails, bool deleted) {
  std::vector<std::string> subjects;
  for (const Mail& mail : mails)
    if (std::string(mail.expected).starts_with("delete") == deleted) subjects.push_back(mail.subject);
  return subjects;
}

TEST(ScreenCommandDovecotTest, DryRunChangesNothingApplyDeletesExactlyTheMatchedAndABrokenFileNothing) {
  test_support::DovecotServer server;
  server.AddUser("user", "secret");
  const std::vector<Mail> mails = Mails();
  for (size_t i = 0; i < mails.size(); ++i) server.AddMessage("user", MessageText(mails[i], static_cast<int>(i) + 1));
  server.Start();
  test_support::TempFolder work;
  WriteFile(work.File("config.ini"), test_support::ConfigFor({server.Port()}, "MyAddresses=me@home.example\r\n"));
  WriteFile(work.File("rules.txt"), kRules);
  WriteFile(work.File("address.txt"), "Friend*friend@casino.example\r\n");

  const CliRun dry = RunLarkspin(work.Path(), {"screen", "--account", "1"});
  ASSERT_EQ(dry.exit_status, 0) << dry.err;
  std::string expected;
  for (size_t i = 0; i < mails.size(); ++i) expected += FormatText("%zu\t%s\t", i + 1, mails[i].expected);
  std::string printed;
  for (std::string_view rest = dry.out; rest.find('\n') != std::string_view::npos; rest.remove_prefix(rest.find('\n') + 1)) {
    const std::string_view line = rest.substr(0, rest.find('\n'));
    const size_t third_tab = line.find('\t', line.find('\t', line.find('\t') + 1) + 1);
    if (third_tab != std::string_view::npos) printed += std::string(line.substr(0, third_tab + 1));
  }
  EXPECT_EQ(printed, expected);
  EXPECT_THAT(dry.out, HasSubstr("7\tflag\tServer says spam\tspam\tBulk <b@spam.example>\tHello\tBox 1\n"));
  EXPECT_THAT(dry.out, HasSubstr("Screened messages: 30     allow 2, delete 4, download 1, flag 1\n"));
  EXPECT_EQ(server.MessageFiles("user").size(), 30u);
  EXPECT_FALSE(std::filesystem::exists(work.File("deleted.log")));

  const CliRun applied = RunLarkspin(work.Path(), {"screen", "--apply"});
  ASSERT_EQ(applied.exit_status, 0) << applied.err << server.LogText();
  EXPECT_THAT(applied.out, HasSubstr("deleted 4, downloaded 1\n"));
  EXPECT_EQ(server.MessageFiles("user").size(), 26u);
  std::vector<std::string> recorded;
  for (const DeletedMessage& line : ReadDeletedLog(work.File("deleted.log"))) {
    recorded.push_back(line.subject);
    EXPECT_FALSE(line.unique_id.empty());
    EXPECT_NE(line.rule, "");
  }
  EXPECT_THAT(recorded, UnorderedElementsAreArray(SubjectsOf(mails, true)));
  const CliRun after = RunLarkspin(work.Path(), {"screen"});
  for (const std::string& kept : SubjectsOf(mails, false)) EXPECT_THAT(after.out, HasSubstr("\t" + kept + "\t"));
  EXPECT_THAT(after.out, HasSubstr("Screened messages: 26 "));
  EXPECT_TRUE(std::filesystem::exists(work.File("mailbox1/msg02_03_2026_10_06_00_+0100.txt")));

  WriteFile(work.File("rules.txt"), std::string(kRules) + "delete \"Everything\" size > 0\ndelete \"Broken\" size > lots\n");
  const CliRun broken = RunLarkspin(work.Path(), {"screen", "--apply"});
  EXPECT_EQ(broken.exit_status, 3);
  EXPECT_THAT(broken.err, HasSubstr("rules.txt line 9: "));
  EXPECT_EQ(broken.out, "");
  EXPECT_EQ(server.MessageFiles("user").size(), 26u);
}

}  // namespace
}  // namespace larkspin
