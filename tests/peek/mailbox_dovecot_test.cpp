// Marks against a real Dovecot whose mailbox another client changed between two peeks: nothing
// is deleted or stored but what was marked, and the dropped marks are reported.
#include "peek/mailbox_session.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "common/format.h"
#include "mailbox/message_file.h"
#include "peek/preview_fetch.h"
#include "peek/recorded_events.h"
#include "support/dovecot_server.h"
#include "support/temp_folder.h"
#include "support/test_config.h"

namespace larkspin {
namespace {

using test_support::AccountSection;
using test_support::ConfigText;
using test_support::MakeMessage;
using ::testing::Contains;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::Not;

class CNoPrompt : public CInputPrompt {
 public:
  bool Ask(const InputRequest&, InputAnswer&) override { return false; }
};

TEST(MailboxDovecotTest, MarksOnAMailboxChangedByAnotherClientAreDropped) {
  test_support::DovecotServer server;
  server.AddUser("anna", "secret");
  for (int n = 1; n <= 5; ++n)
    server.AddMessage("anna", MakeMessage("Sender <s@example.org>", "Message " + std::to_string(n),
                                          FormatText("Mon, %d Mar 2004 10:00:00 +0100", n)));
  server.Start();
  test_support::TempFolder folder;
  test_support::ScopedWorkingDirectory here(folder.Path());
  test_support::WriteFile(folder.File("config.ini"), ConfigText("", {"Home"}, AccountSection(1, server.Port())));
  CNoPrompt prompt;
  CCurrentAccount account(prompt);
  account.account_number = 1;
  PeekPlan plan(account);
  plan.account_names = {"Home"};
  plan.waits = {0, 0, 0, 0};

  CMailboxSession session;
  CRecordedEvents first;
  session.RunPeek(plan, first);
  session.LogOut(0, first);
  ASSERT_EQ(first.rows.size(), 5u);

  // A phone deletes messages 1 and 2: message 3 is now number 1, message 5 number 3.
  CPop3Client phone;
  ASSERT_TRUE(phone.Connect("127.0.0.1", "anna", "secret", server.Port())) << phone.LastReply();
  ASSERT_TRUE(phone.Delete(1) && phone.Delete(2) && phone.Disconnect()) << phone.LastReply();

  const HeaderRow& third = first.rows[2];
  const HeaderRow& fifth = first.rows[4];
  plan.deletions.push_back({third.row_id, third.message_number, 0, third.identity, third.connection, third.deletion});
  plan.downloads.push_back({fifth, 1, true, false});
  CRecordedEvents second;
  session.RunPeek(plan, second);

  EXPECT_THAT(second.lines, Not(Contains(HasSubstr("deleted row"))));
  EXPECT_THAT(second.downloads, IsEmpty());
  EXPECT_EQ(second.dropped.size(), 2u);
  EXPECT_THAT(second.lines[second.lines.size() - 2], HasSubstr("2 mark(s) dropped: the mailbox changed"));
  ASSERT_EQ(second.rows.size(), 3u) << "messages 3, 4 and 5 are all still there";
  EXPECT_FALSE(std::filesystem::exists(folder.File("mailbox1/msg05_03_2004_10_00_00_+0100.txt")));
}

// A peek that lists every message, then one that downloads three marked rows on the connection
// the first left open: the same events, in the same order, pipelined and in lock-step.
// Writes config.ini (in the working folder) with one account on server, pipelined where Dovecot
// allows it or never, and plans a pipelining peek of it.
PeekPlan PipeliningPlan(const test_support::DovecotServer& server, bool pipelined) {
  static CNoPrompt prompt;
  const std::string pipelining = pipelined ? "Pipelining=Auto\r\n" : "Pipelining=Never\r\n";
  test_support::WriteFile("config.ini", ConfigText("", {"Home"}, AccountSection(1, server.Port()) + pipelining));
  CCurrentAccount account(prompt);
  account.account_number = 1;
  PeekPlan plan(account);
  plan.account_names = {"Home"};
  plan.waits = {0, 0, 0, 0};
  plan.pipeline = true;
  return plan;
}

std::vector<std::string> PeekAndDownload(const test_support::DovecotServer& server, bool pipelined) {
  test_support::TempFolder folder;
  test_support::ScopedWorkingDirectory here(folder.Path());
  PeekPlan plan = PipeliningPlan(server, pipelined);
  CMailboxSession session;
  CRecordedEvents events;
  session.RunPeek(plan, events);
  EXPECT_EQ(session.Client().Pipelines(), pipelined);
  for (const size_t index : {1, 4, 6}) plan.downloads.push_back({events.rows.at(index), 1, false, false});
  session.RunPeek(plan, events);
  session.LogOut(0, events);
  EXPECT_EQ(events.downloads.size(), 3u);
  return events.lines;
}

// 150 messages of 100 to 15,000 bytes, each with a Date of its own.
void AddNumberedMessages(test_support::DovecotServer& server) {
  server.AddUser("anna", "secret");
  for (int n = 1; n <= 150; ++n)
    server.AddMessage("anna", MakeMessage("Sender <s@example.org>", "Message " + std::to_string(n),
                                          FormatText("Mon, %d Mar 2004 10:%02d:00 +0100", 1 + n % 28, n % 60), 100 * n));
  server.Start();
}

TEST(MailboxDovecotTest, APipelinedPeekReportsWhatALockStepPeekReports) {
  test_support::DovecotServer server;
  AddNumberedMessages(server);
  const std::vector<std::string> lock_step = PeekAndDownload(server, false);
  EXPECT_THAT(lock_step, Contains("row 1/150 Message 150"));
  EXPECT_EQ(PeekAndDownload(server, true), lock_step);
}

// A download-all peek with a mail threshold of 10 KB: each stored message file's Subject by file
// name, and the download lines, in order.
std::pair<std::map<std::string, std::string>, std::vector<std::string>> DownloadAll(
    const test_support::DovecotServer& server, bool pipelined) {
  test_support::TempFolder folder;
  test_support::ScopedWorkingDirectory here(folder.Path());
  PeekPlan plan = PipeliningPlan(server, pipelined);
  plan.download_all = true;
  plan.mail_threshold_kb = 10;
  CMailboxSession session;
  CRecordedEvents events;
  session.RunPeek(plan, events);
  EXPECT_EQ(session.Client().Pipelines(), pipelined);
  session.LogOut(0, events);
  std::map<std::string, std::string> subjects;
  for (const auto& entry : std::filesystem::directory_iterator(folder.File("mailbox1")))
    if (entry.path().filename().string().starts_with("msg"))
      subjects[entry.path().filename().string()] = StoredField(test_support::ReadFile(entry.path().string()), kSubjectLabel);
  std::vector<std::string> downloads;
  for (const std::string& line : events.lines)
    if (line.starts_with("download")) downloads.push_back(line);
  return {subjects, downloads};
}

TEST(MailboxDovecotTest, APipelinedDownloadAllPeekStoresWhatALockStepOneStores) {
  test_support::DovecotServer server;
  AddNumberedMessages(server);
  const auto lock_step = DownloadAll(server, false);
  EXPECT_EQ(lock_step.first.size(), 102u) << "the messages up to 10 KB";
  EXPECT_EQ(lock_step.first.at("msg12_03_2004_10_11_00_+0100.txt"), "Message 11");
  EXPECT_EQ(DownloadAll(server, true), lock_step);
}

struct PreviewCase {
  int lines;
  const char* message;
  const char* text;
  std::vector<std::string> attachments;  // "name type"
};

// Rows listed by one peek, each previewed later on a short connection of its own (the row's
// identity checked by its UIDL id); the last part begins after the lines asked for.
TEST(MailboxDovecotTest, PreviewsReadTheFirstLinesOfEachKindOfMessage) {
  const PreviewCase cases[] = {
      {3, "Subject: plain\r\n\r\none\r\ntwo\r\nthree\r\nfour\r\n", "one\r\ntwo\r\nthree\r\n", {}},
      {3, "Subject: qp\r\nContent-Type: text/plain; charset=utf-8\r\nContent-Transfer-Encoding: quoted-printable\r\n\r\n"
       "Gr=C3=BC=C3=9Fe\r\n",
       "Gr\u00fc\u00dfe\r\n", {}},
      {3, "Subject: html\r\nContent-Type: text/html; charset=iso-8859-1\r\n\r\n<p>K=F6ln &amp; <b>Bonn</b></p>\r\n",
       "K=F6ln & Bonn", {}},
      {7, "Subject: parts\r\nContent-Type: multipart/mixed; boundary=b\r\n\r\n--b\r\n\r\nhello\r\n"
       "--b\r\nContent-Type: application/pdf; name=plan.pdf\r\n\r\nJVBERi0x\r\n--b\r\n\r\nnot reached\r\n--b--\r\n",
       "hello", {"plan.pdf application/pdf"}},
  };
  test_support::DovecotServer server;
  server.AddUser("anna", "secret");
  for (const PreviewCase& c : cases) server.AddMessage("anna", c.message);
  server.Start();
  test_support::TempFolder folder;
  test_support::ScopedWorkingDirectory here(folder.Path());
  test_support::WriteFile(folder.File("config.ini"), ConfigText("", {"Home"}, AccountSection(1, server.Port())));
  CNoPrompt prompt;
  CCurrentAccount account(prompt);
  account.account_number = 1;
  account.LoadCurrentAccount("Account1");
  account.EnsureCredentials("Account1", PeekScope::kAllAccounts);
  PeekPlan plan(account);
  plan.account_names = {"Home"};
  plan.waits = {0, 0, 0, 0};
  CMailboxSession session;
  CRecordedEvents events;
  session.RunPeek(plan, events);
  session.LogOut(0, events);
  ASSERT_EQ(events.rows.size(), std::size(cases));
  for (size_t i = 0; i < std::size(cases); ++i) {
    const PreviewResult result = FetchPreview(session, account, events.rows[i], cases[i].lines);
    ASSERT_TRUE(result.fetched) << result.failure;
    EXPECT_EQ(result.preview.text, cases[i].text) << i;
    std::vector<std::string> attachments;
    for (const PreviewAttachment& a : result.preview.attachments) attachments.push_back(a.name + " " + a.type);
    EXPECT_EQ(attachments, cases[i].attachments) << i;
    EXPECT_FALSE(session.Connected());
  }
}

}  // namespace
}  // namespace larkspin
