// A mailbox session against the fake POP3 server, without any window: the events of a peek in
// their order, all-accounts peeks, marks carried out, and the failures a peek meets.
#include "peek/mailbox_session.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <map>
#include <set>

#include "common/format.h"
#include "mailbox/message_file.h"
#include "peek/new_mail.h"
#include "peek/recorded_events.h"
#include "support/fake_pop3_server.h"
#include "support/temp_folder.h"
#include "support/test_config.h"

namespace larkspin {
namespace {

using test_support::AccountSection;
using test_support::ConfigText;
using test_support::FakePop3Server;
using test_support::MakeMessage;
using test_support::Reply;
using test_support::ScopedWorkingDirectory;
using test_support::ReplyAndClose;
using test_support::Silence;
using test_support::SplitReply;
using test_support::TempFolder;
using test_support::WriteFile;
using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ::testing::EndsWith;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::Not;

class CRefusingPrompt : public CInputPrompt {
 public:
  bool Ask(const InputRequest&, InputAnswer&) override {
    ++asked;
    return false;
  }
  int asked = 0;
};

class MailboxSessionTest : public ::testing::Test {
 protected:
  MailboxSessionTest() {
    messages_ = {MakeMessage("Anna <anna@example.org>", "First", "Tue, 2 Mar 2004 10:11:12 +0100"),
                 MakeMessage("Bob <bob@example.org>", "Second", "Wed, 3 Mar 2004 09:00:00 +0100", 3000)};
    server_.ServeMailbox(messages_);
    session_.Client().read_timeout_ms = 2000;
  }

  // Writes config.ini and plans a peek of account 1 (or of all accounts).
  PeekPlan Plan(const std::vector<std::string>& names, const std::string& accounts, bool all_accounts = false) {
    WriteFile(folder_.File("config.ini"), ConfigText("", names, accounts));
    CCurrentAccount account(prompt_);
    account.account_number = 1;
    account.display_name = names.front();
    PeekPlan plan(account);
    plan.all_accounts = all_accounts;
    plan.account_names = names;
    plan.waits = {0, 0, 0, 0};
    return plan;
  }
  PeekPlan HomePlan() { return Plan({"Home"}, AccountSection(1, server_.Port())); }
  // A first peek's rows, as the marks of a later peek refer to them.
  std::vector<HeaderRow> ListedRows() {
    CRecordedEvents first;
    session_.RunPeek(HomePlan(), first);
    session_.LogOut(0, first);
    return first.rows;
  }
  static DownloadOrder DownloadOf(const HeaderRow& row) { return {row, 1, true, false}; }
  static DeleteOrder DeletionOf(const HeaderRow& row) {
    return {row.row_id, row.message_number, 0, row.identity, row.connection, row.deletion};
  }
  // Message n: Subject "n" and a Date of its own, so that its stored file is DatedFile(n).
  static std::string DatedMessage(int n, size_t size = 0) {
    return MakeMessage("a@example.org", std::to_string(n), FormatText("Mon, %d Mar 2004 10:00:00 +0100", n), size);
  }
  static std::string DatedFile(int n) { return FormatText("msg%02d_03_2004_10_00_00_+0100.txt", n); }
  int Size(size_t i) const { return static_cast<int>(messages_[i].size()); }
  std::vector<std::string> StoredFiles() const {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder_.File("mailbox1")))
      if (entry.is_regular_file()) names.push_back(entry.path().filename().string());
    return names;
  }
  // The Subject of each stored message file, by file name (the stored list left out).
  std::map<std::string, std::string> StoredSubjects() const {
    std::map<std::string, std::string> subjects;
    for (const std::string& name : StoredFiles())
      if (name.starts_with("msg")) subjects[name] = StoredField(test_support::ReadFile(folder_.File("mailbox1/" + name)), kSubjectLabel);
    return subjects;
  }
  // A download-all peek of account 1 on server, pipelined where the account's setting allows it.
  PeekPlan DownloadAllPlan(const FakePop3Server& server, const std::string& pipelining) {
    PeekPlan plan = Plan({"Home"}, AccountSection(1, server.Port()) + "Pipelining=" + pipelining + "\r\n");
    plan.download_all = true;
    plan.pipeline = true;
    plan.mail_threshold_kb = 2;
    return plan;
  }

  TempFolder folder_;
  ScopedWorkingDirectory here_{folder_.Path()};
  CRefusingPrompt prompt_;
  std::vector<std::string> messages_;
  FakePop3Server server_;
  CMailboxSession session_;
  CRecordedEvents events_;
};

TEST_F(MailboxSessionTest, OneAccountPeekReportsEveryStepInOrderAndStaysConnected) {
  session_.RunPeek(HomePlan(), events_);

  const int total = Size(0) + Size(1);
  EXPECT_THAT(events_.lines,
              ElementsAre("status connecting to '127.0.0.1'...", "cleared", "range 2", "status Reading header 1 of 2",
                          "row 1/1 First", "step", "status Reading header 2 of 2", "row 1/2 Second", "step",
                          FormatText("status Total 2 %.2lf %d", total / 1024.0, total), FormatText("finished 2 %d", total)));
  EXPECT_EQ(events_.rows[1].sender_address, "bob@example.org");
  EXPECT_NE(events_.rows[0].row_id, events_.rows[1].row_id);
  EXPECT_TRUE(session_.Connected());
  EXPECT_EQ(session_.ServerCount(), 2);
  EXPECT_THAT(server_.ReceivedLines(), Not(Contains("QUIT")));
}

// Each row carries its message's facts from its header, LIST and UIDL, with the raw header.
TEST_F(MailboxSessionTest, RowsCarryTheFactsOfTheirMessages) {
  messages_.push_back("Return-Path: <club@example.com>\r\nFrom: club@example.com (Chess Club)\r\n"
                      "Authentication-Results: mx.example.org; spf=pass smtp.mailfrom=example.com;\r\n"
                      " dkim=fail (bad signature) header.d=example.com\r\n"
                      "Subject: =?utf-8?q?Turnier_im_M=C3=A4rz?=\r\nDate: Thu, 5 Mar 2026 18:00:00 +0100\r\n"
                      "X-Spam-Flag: NO\r\n\r\nBody.\r\n");
  server_.ServeMailbox(messages_);
  session_.text_encoding = TextEncoding::kUtf8;
  session_.RunPeek(HomePlan(), events_);

  ASSERT_EQ(events_.messages.size(), 3u);
  const PeekedMessage& first = events_.messages[0];
  EXPECT_EQ(first.number, 1);
  EXPECT_EQ(first.unique_id, FakePop3Server::UniqueIdOf(messages_[0]));
  EXPECT_EQ(first.size, messages_[0].size());
  EXPECT_EQ(first.from.address, "anna@example.org");
  EXPECT_EQ(first.from.display_name, "Anna");
  ASSERT_EQ(first.to.size(), 1u);
  EXPECT_EQ(first.to[0].address, "bob@example.org");
  ASSERT_TRUE(first.date.has_value());
  EXPECT_EQ(first.date->year, 2004);
  const PeekedMessage& club = events_.messages[2];
  EXPECT_EQ(club.number, 3);
  EXPECT_EQ(club.from.address, "club@example.com");
  EXPECT_EQ(club.from.display_name, "Chess Club");
  EXPECT_EQ(club.subject, "Turnier im M\xC3\xA4rz");
  EXPECT_EQ(club.authentication.spf, "pass");
  EXPECT_EQ(club.authentication.dkim, "fail");
  EXPECT_EQ(club.spam.flagged, false);
  EXPECT_EQ(club.header.First("Return-Path"), "<club@example.com>");
  EXPECT_EQ(events_.rows[2].sender_address, "club@example.com (Chess Club)") << "the record keeps its own rule";
}

TEST_F(MailboxSessionTest, AllAccountsVisitsThoseWithStoredCredentialsAndLogsOutAfterEach) {
  FakePop3Server third;
  third.ServeMailbox({MakeMessage("Carl <carl@example.org>", "C1", "Thu, 4 Mar 2004 10:00:00 +0100")});
  PeekPlan plan = Plan({"Home", "Work", "Club"},
                       AccountSection(1, server_.Port()) + AccountSection(2, server_.Port(), "") +
                           AccountSection(3, third.Port()),
                       true);
  session_.RunPeek(plan, events_);

  EXPECT_EQ(prompt_.asked, 0) << "account 2 is skipped without a question";
  ASSERT_EQ(events_.rows.size(), 3u);
  EXPECT_EQ(events_.rows[2].account_number, 3);
  EXPECT_EQ(events_.rows[2].row_offset, 2);
  EXPECT_EQ(events_.rows[2].account, "Club");
  EXPECT_EQ(std::count(events_.lines.begin(), events_.lines.end(), "cleared"), 1);
  EXPECT_EQ(std::count(events_.lines.begin(), events_.lines.end(), "logged out"), 2);
  EXPECT_THAT(events_.lines.back(), HasSubstr("finished 3 "));
  EXPECT_THAT(server_.ReceivedLines(), Contains("QUIT"));
  EXPECT_THAT(third.ReceivedLines(), Contains("QUIT"));
  EXPECT_FALSE(session_.Connected());
}

// Side by side the rows come as one after the other, and where the accounts stand is told as it
// changes instead of each account's steps: the headers read never go back nor beyond the count,
// and the last news names no account and counts every header.
TEST_F(MailboxSessionTest, AllAccountsSideBySideListAsOneAfterTheOtherAndTellWhereTheyStand) {
  FakePop3Server third;
  third.ServeMailbox({MakeMessage("Carl <carl@example.org>", "C1", "Thu, 4 Mar 2004 10:00:00 +0100")});
  std::vector<std::vector<std::string>> lines;
  for (const int parallel : {1, 3}) {
    PeekPlan plan = Plan({"Home", "Work", "Club"},
                         AccountSection(1, server_.Port()) + AccountSection(2, server_.Port(), "") +
                             AccountSection(3, third.Port()),
                         true);
    plan.parallel_accounts = parallel;
    CRecordedEvents events;
    session_.RunPeek(plan, events);
    lines.push_back({});
    for (const std::string& line : events.lines)
      if (line.rfind("row ", 0) == 0 || line.rfind("finished", 0) == 0) lines.back().push_back(line);
    if (parallel == 1) continue;
    EXPECT_THAT(events.lines, Not(Contains(::testing::AnyOf(::testing::Eq("step"), ::testing::Eq("logged out"),
                                                            HasSubstr("range"), HasSubstr("status connecting")))));
    ASSERT_THAT(events.at_work, Not(IsEmpty()));
    for (size_t i = 1; i < events.at_work.size(); ++i) {
      EXPECT_GE(events.at_work[i].read, events.at_work[i - 1].read);
      EXPECT_LE(events.at_work[i].read, events.at_work[i].count);
    }
    EXPECT_THAT(events.at_work.back().running, IsEmpty());
    EXPECT_EQ(events.at_work.back().count, 3);
    EXPECT_EQ(events.at_work.back().read, 3);
  }
  EXPECT_EQ(lines[1], lines[0]);
}

TEST_F(MailboxSessionTest, MarksAreCarriedOutBeforeTheListingAndDeletionsCommitByANewLogin) {
  const std::vector<HeaderRow> rows = ListedRows();
  PeekPlan plan = HomePlan();
  plan.downloads.push_back(DownloadOf(rows[0]));
  plan.deletions.push_back(DeletionOf(rows[1]));
  session_.RunPeek(plan, events_);

  EXPECT_THAT(std::vector<std::string>(events_.lines.begin() + 1, events_.lines.begin() + 6),
              ElementsAre("download", "downloaded 1 stored", "status Delete message 1 from server",
                          FormatText("deleted row %llu", static_cast<unsigned long long>(rows[1].row_id)), "cleared"));
  ASSERT_EQ(events_.downloads.size(), 1u);
  EXPECT_EQ(events_.downloads[0].row_id, rows[0].row_id);
  EXPECT_TRUE(std::filesystem::exists(events_.downloads[0].record.local_file));
  EXPECT_EQ(server_.ConnectionCount(), 3) << "the first peek, the marks, the new login after the deletion";
  EXPECT_THAT(server_.DeletedMessages(), ElementsAre(2));
  EXPECT_THAT(server_.ReceivedLines(), Contains("RETR 1"));
}

// Each deletion is in deleted.log before its DELE; a record that cannot be written sends none.
TEST_F(MailboxSessionTest, DeletionsAreRecordedAndAnUnwritableRecordDeletesNothing) {
  std::vector<HeaderRow> rows = ListedRows();
  rows[0].deletion.rule = "Old";
  PeekPlan plan = HomePlan();
  plan.deletions = {DeletionOf(rows[0]), DeletionOf(rows[1])};
  session_.RunPeek(plan, events_);
  const std::vector<DeletedMessage> record = ReadDeletedLog(folder_.File("deleted.log"));
  ASSERT_EQ(record.size(), 2u);
  EXPECT_EQ(record[0].rule, "Old");
  EXPECT_EQ(record[1].rule, "") << "by hand";
  EXPECT_EQ(record[1].from, "Bob <bob@example.org>");
  EXPECT_EQ(record[1].subject, "Second");
  EXPECT_EQ(record[1].account, "Home");
  EXPECT_EQ(record[1].size, static_cast<uint32_t>(Size(1)));
  EXPECT_FALSE(record[1].unique_id.empty());
  EXPECT_THAT(server_.DeletedMessages(), ElementsAre(1, 2));

  FakePop3Server server;
  server.ServeMailbox(messages_);
  std::filesystem::remove(folder_.File("deleted.log"));
  std::filesystem::create_directory(folder_.File("deleted.log"));
  PeekPlan unrecorded = Plan({"Home"}, AccountSection(1, server.Port()));
  unrecorded.deletions = {DeletionOf(rows[1])};
  CRecordedEvents refused;
  session_.RunPeek(unrecorded, refused);
  EXPECT_THAT(server.ReceivedLines(), Not(Contains(HasSubstr("DELE"))));
  EXPECT_THAT(refused.lines, Contains("refused Error Delete: message 2 not deleted: deleted.log cannot be written"));
}

// Another client deleted message 1 since the listing: numbers 1 and 2 now name other messages.
// With UIDL and without it, neither mark is carried out on the wrong message.
TEST_F(MailboxSessionTest, MarksOnAChangedMailboxAreDroppedAndReported) {
  for (const bool with_uidl : {true, false}) {
    SCOPED_TRACE(with_uidl ? "UIDL" : "no UIDL");
    FakePop3Server server;
    server.ServeMailbox({messages_[0], messages_[1], MakeMessage("Carl <c@example.org>", "Third", "Thu, 4 Mar 2004 10:00:00 +0100")});
    if (!with_uidl) server.RefuseUidl();
    const PeekPlan first_plan = Plan({"Home"}, AccountSection(1, server.Port()));
    CRecordedEvents first;
    session_.RunPeek(first_plan, first);
    session_.LogOut(0, first);
    ASSERT_EQ(first.rows.size(), 3u);

    server.ServeMailbox({messages_[1], MakeMessage("Carl <c@example.org>", "Third", "Thu, 4 Mar 2004 10:00:00 +0100")});
    if (!with_uidl) server.RefuseUidl();
    PeekPlan plan = first_plan;
    plan.deletions.push_back(DeletionOf(first.rows[1]));  // "Second", now number 1
    plan.downloads.push_back(DownloadOf(first.rows[2]));  // "Third", now number 2
    CRecordedEvents events;
    session_.RunPeek(plan, events);

    EXPECT_THAT(server.DeletedMessages(), IsEmpty());
    EXPECT_THAT(server.ReceivedLines(), Not(Contains(HasSubstr("RETR"))));
    EXPECT_THAT(events.dropped, ElementsAre(first.rows[2].row_id, first.rows[1].row_id));
    EXPECT_THAT(events.lines, Contains(HasSubstr("1 mark(s) dropped: the mailbox changed")));
    EXPECT_THAT(events.lines[events.lines.size() - 2], HasSubstr("2 mark(s) dropped"));
  }
}

// The rows listed before the server went silent stay; the peek ends after one time-out instead
// of waiting once per message.
TEST_F(MailboxSessionTest, APeekOfASilentServerEndsAfterOneTimeOut) {
  FakePop3Server server;
  server.ServeMailbox(std::vector<std::string>(8, messages_[0]));
  server.GoSilentAfter(2, "TOP");
  session_.Client().read_timeout_ms = 300;
  const auto start = std::chrono::steady_clock::now();
  session_.RunPeek(Plan({"Home"}, AccountSection(1, server.Port())), events_);
  const auto elapsed = std::chrono::steady_clock::now() - start;

  EXPECT_EQ(events_.rows.size(), 2u);
  EXPECT_LT(elapsed, std::chrono::milliseconds(2 * 300));
  EXPECT_THAT(events_.lines[events_.lines.size() - 2], HasSubstr("Connection to 127.0.0.1 lost after 2 of 8 headers"));
  EXPECT_FALSE(session_.Connected());
}

TEST_F(MailboxSessionTest, RefusedLoginClearsTheRowsAndReportsTheFailure) {
  server_.On("PASS", Reply("-ERR wrong password\r\n"));
  session_.RunPeek(HomePlan(), events_);

  EXPECT_THAT(events_.lines,
              ElementsAreArray({"status connecting to '127.0.0.1'...", "cleared", "logged out",
                                "status Error connecting to 127.0.0.1: -ERR wrong password", "leave busy",
                                "login failed 127.0.0.1 anna box", "status Total 0 0.00 0", "finished 0 0"}));
  EXPECT_FALSE(session_.Connected());
}

TEST_F(MailboxSessionTest, HeaderThatTimesOutIsReportedAndTheOthersStayCorrect) {
  session_.Client().read_timeout_ms = 300;
  server_.On("TOP 2 ", SplitReply({"+OK\r\nFrom: Bob <bob@exa"}, 0));
  server_.On("TOP 2 ", Silence());
  session_.RunPeek(HomePlan(), events_);

  ASSERT_EQ(events_.rows.size(), 1u);
  EXPECT_EQ(events_.rows[0].message_number, 1);
  EXPECT_THAT(events_.lines, Contains(HasSubstr("status Error GetMessageHeader: ")));
  EXPECT_THAT(events_.lines[events_.lines.size() - 2], HasSubstr("lost after 1 of 2 headers"));
  EXPECT_THAT(events_.lines.back(), HasSubstr("finished 2 "));
}

// A message whose header passes the client's limit costs its connection: it gets a row saying
// so, the peek goes on with the next message on a new login, and the row can be deleted (told by
// its UIDL id, or by its size where the server has no UIDL, never by asking for that header again).
TEST_F(MailboxSessionTest, HeadersTooLargeToReadGetARowEachAndThePeekGoesOn) {
  const std::string big_header = "X-Big: " + std::string(CPop3Client::kMaxHeaderReply, 'b') + "\r\n";
  const std::string note = "(header larger than 4 MiB: not shown)";
  struct Mailbox {
    std::vector<int> big_numbers;
    std::vector<std::string> subjects;
    bool with_uidl;
  };
  const Mailbox mailboxes[] = {{{2}, {"1", note, "3", "4"}, true},
                               {{2, 3}, {"1", note, note, "4"}, false}};
  for (const Mailbox& mailbox : mailboxes) {
    SCOPED_TRACE(mailbox.big_numbers.size());
    std::vector<std::string> messages;
    for (const char* subject : {"1", "2", "3", "4"}) messages.push_back(MakeMessage("a@example.org", subject, "", 0));
    for (const int n : mailbox.big_numbers) messages[static_cast<size_t>(n - 1)] = big_header + messages[0];
    FakePop3Server server;
    server.ServeMailbox(messages);
    if (!mailbox.with_uidl) server.RefuseUidl();
    const PeekPlan plan = Plan({"Home"}, AccountSection(1, server.Port()));
    CRecordedEvents first;
    session_.RunPeek(plan, first);

    std::vector<std::string> subjects;
    for (const std::string& line : first.lines)
      if (line.starts_with("row 1/")) subjects.push_back(line.substr(line.find(' ', 4) + 1));
    EXPECT_EQ(subjects, mailbox.subjects);
    ASSERT_EQ(first.rows.size(), 4u);
    const HeaderRow& row = first.rows[1];
    EXPECT_EQ(row.message_number, 2);
    EXPECT_EQ(row.identity.size, messages[1].size());
    EXPECT_EQ(row.identity.unique_id, mailbox.with_uidl ? FakePop3Server::UniqueIdOf(messages[1]) : "");
    EXPECT_EQ(server.ConnectionCount(), static_cast<int>(1 + mailbox.big_numbers.size()));
    EXPECT_THAT(first.lines[first.lines.size() - 2], HasSubstr("status Total 4 "));
    EXPECT_TRUE(session_.Connected());
    session_.LogOut(0, first);

    PeekPlan second = plan;
    second.deletions.push_back(DeletionOf(row));
    CRecordedEvents events;
    session_.RunPeek(second, events);
    EXPECT_THAT(server.DeletedMessages(), ElementsAre(2));
    EXPECT_THAT(events.dropped, IsEmpty());
  }
}

TEST_F(MailboxSessionTest, RefusedLoginAfterAHeaderTooLargeEndsTheListAsALostConnection) {
  std::vector<std::string> messages(3, messages_[0]);
  messages[1] = "X-Big: " + std::string(CPop3Client::kMaxHeaderReply, 'b') + "\r\n" + messages_[0];
  FakePop3Server server;
  server.ServeMailbox(messages);
  server.On("PASS", Reply("-ERR no more logins\r\n"));
  server.On("PASS", Reply("+OK\r\n"), 1);
  session_.RunPeek(Plan({"Home"}, AccountSection(1, server.Port())), events_);

  EXPECT_EQ(events_.rows.size(), 2u);
  EXPECT_THAT(events_.lines[events_.lines.size() - 2],
              HasSubstr("Connection to 127.0.0.1 lost after 2 of 3 headers: -ERR no more logins"));
  EXPECT_FALSE(session_.Connected());
}

// A plan that never asks and saves the UIDL command: an account without a stored login is passed
// over and named also when it is the only one; the rows come without ids.
TEST_F(MailboxSessionTest, APlanThatNeverAsksSkipsAnAccountWithoutCredentialsAndAsksNoUidl) {
  for (const bool stored_login : {false, true}) {
    SCOPED_TRACE(stored_login);
    CRecordedEvents events;
    PeekPlan plan = Plan({"Home"}, AccountSection(1, server_.Port(), stored_login ? "anna" : ""));
    plan.ask_unique_ids = false;
    plan.skip_without_credentials = true;
    session_.RunPeek(plan, events);
    if (session_.Connected()) session_.LogOut(0, events);

    EXPECT_EQ(prompt_.asked, 0);
    ASSERT_EQ(events.skipped.size(), stored_login ? 0u : 1u);
    ASSERT_EQ(events.rows.size(), stored_login ? 2u : 0u);
    if (stored_login) {
      EXPECT_EQ(events.messages[1].unique_id, "");
      EXPECT_THAT(server_.ReceivedLines(), ElementsAre("CAPA", "USER anna", "PASS secret", "STAT", "STAT", "LIST", "TOP 1 0",
                                                       "TOP 2 0", "QUIT"));
    } else {
      EXPECT_EQ(events.skipped[0].account_number, 1);
      EXPECT_EQ(events.skipped[0].account_name, "Home");
      EXPECT_EQ(events.skipped[0].credential_problem, "");
      EXPECT_EQ(server_.ConnectionCount(), 0);
    }
  }
}

// A lost connection says whether it was the new login after a header too large to read that failed.
TEST_F(MailboxSessionTest, ALostConnectionTellsARefusedNewLoginFromACutList) {
  std::vector<std::string> messages(3, messages_[0]);
  messages[1] = "X-Big: " + std::string(CPop3Client::kMaxHeaderReply, 'b') + "\r\n" + messages_[0];
  for (const bool cut : {false, true}) {
    SCOPED_TRACE(cut);
    FakePop3Server server;
    server.ServeMailbox(messages);
    if (cut) server.GoSilentAfter(1, "TOP");
    server.On("PASS", Reply("-ERR no more logins\r\n"));
    server.On("PASS", Reply("+OK\r\n"), 1);
    session_.Client().read_timeout_ms = 300;
    CRecordedEvents events;
    session_.RunPeek(Plan({"Home"}, AccountSection(1, server.Port())), events);

    ASSERT_TRUE(events.lost_connection.has_value());
    EXPECT_EQ(events.lost_connection->listed, cut ? 1 : 2);
    EXPECT_EQ(events.lost_connection->new_login_refused, !cut);
  }
}

// Outside a peek the session lists one message as a peek does, with its stored file, and says
// which command failed for a message it cannot list.
TEST_F(MailboxSessionTest, OneMessageIsListedOutsideAPeekWithItsStoredFile) {
  HomePlan();
  CCurrentAccount account(prompt_);
  account.EnsureCredentials("Account1", PeekScope::kAllAccounts);
  account.LoadCurrentAccount("Account1");
  ASSERT_TRUE(session_.LogIn(account));
  PeekedRow row;
  EXPECT_EQ(session_.ListMessage(2, 1, "Home", row), std::nullopt);
  EXPECT_EQ(row.record.sender_address, "bob@example.org");
  EXPECT_EQ(row.record.connection, session_.Client().ConnectionNumber());
  EXPECT_EQ(row.message.unique_id, FakePop3Server::UniqueIdOf(messages_[1]));
  EXPECT_EQ(row.record.local_file, "");
  CRecordedEvents events;
  session_.Download({row.record, 1, true, false}, events);
  PeekedRow again;
  EXPECT_EQ(session_.ListMessage(2, 1, "Home", again), std::nullopt);
  EXPECT_EQ(again.record.local_file, events.downloads.at(0).record.local_file);

  const std::optional<ServerFailure> beyond = session_.ListMessage(7, 1, "Home", again);
  ASSERT_TRUE(beyond.has_value());
  EXPECT_EQ(beyond->command, "GetMessageHeader");
  EXPECT_THAT(beyond->reply, HasSubstr("Message 7 is not in the server's list of 2 messages"));
  int count = 0;
  EXPECT_TRUE(session_.CountMessages(count));
  EXPECT_EQ(count, 2);
}

TEST_F(MailboxSessionTest, TwoMessagesOfOneDateAreStoredApartAndEachRowFindsItsOwnFile) {
  messages_ = {MakeMessage("Anna <anna@example.org>", "First", "Tue, 2 Mar 2004 10:11:12 +0100"),
               MakeMessage("Bob <bob@example.org>", "Second", "Tue, 2 Mar 2004 10:11:12 +0100")};
  server_.ServeMailbox(messages_);
  const std::vector<HeaderRow> rows = ListedRows();
  PeekPlan plan = HomePlan();
  plan.downloads = {DownloadOf(rows[1]), DownloadOf(rows[0])};
  session_.RunPeek(plan, events_);
  session_.LogOut(0, events_);

  ASSERT_EQ(events_.downloads.size(), 2u);
  EXPECT_EQ(events_.downloads[0].record.local_file, "mailbox1/msg02_03_2004_10_11_12_+0100.txt");
  EXPECT_EQ(events_.downloads[1].record.local_file, "mailbox1/msg02_03_2004_10_11_12_+0100_2.txt");
  const std::vector<HeaderRow> again = ListedRows();
  ASSERT_EQ(again.size(), 2u);
  EXPECT_EQ(again[1].local_file, "mailbox1/msg02_03_2004_10_11_12_+0100.txt") << "Bob's, downloaded first";
  EXPECT_EQ(again[0].local_file, "mailbox1/msg02_03_2004_10_11_12_+0100_2.txt");
}

TEST_F(MailboxSessionTest, ConnectionCutDuringRetrStoresNothing) {
  PeekPlan plan = HomePlan();
  plan.downloads.push_back(DownloadOf(ListedRows()[1]));
  const std::string& message = messages_[1];
  server_.On("RETR 2", ReplyAndClose("+OK\r\n" + message.substr(0, message.size() / 2)));
  session_.RunPeek(plan, events_);

  ASSERT_EQ(events_.downloads.size(), 1u);
  EXPECT_FALSE(events_.downloads[0].result.stored);
  EXPECT_TRUE(events_.downloads[0].record.local_file.empty());
  EXPECT_THAT(StoredFiles(), IsEmpty());
}

// Under NewMailBy=Uidl a peek cut off after two of four headers tells the unseen one as new and
// remembers what it listed plus the seen ids still on the server: not message 3, which it never
// listed, nor an id the server no longer has.
TEST_F(MailboxSessionTest, ACutOffPeekRemembersWhatItListedAndWhatIsStillOnTheServer) {
  std::vector<std::string> messages;
  for (const char* subject : {"1", "2", "3", "4"}) messages.push_back(MakeMessage("a@example.org", subject, "", 0));
  const auto id = [&](int n) { return FakePop3Server::UniqueIdOf(messages[static_cast<size_t>(n - 1)]); };
  FakePop3Server server;
  server.ServeMailbox(messages);
  server.GoSilentAfter(2, "TOP");
  session_.Client().read_timeout_ms = 300;
  std::filesystem::create_directory(folder_.File("mailbox1"));
  const std::string seen_file = folder_.File("mailbox1/seen-ids.list");
  WriteFile(seen_file, id(2) + "\n" + id(4) + "\ngone-from-server\n");
  PeekPlan plan = Plan({"Home"}, AccountSection(1, server.Port()));
  plan.new_mail_by = NewMailRule::kUidl;
  session_.RunPeek(plan, events_);

  ASSERT_EQ(events_.rows.size(), 2u);
  EXPECT_THAT(RowsNewByUniqueId(*events_.finished), ElementsAre(events_.rows[0].row_id));
  const std::set<std::string> remembered = {id(1), id(2), id(4)};
  std::string expected;
  for (const std::string& line : remembered) expected += line + "\n";
  EXPECT_EQ(test_support::ReadFile(seen_file), expected);
}

std::vector<std::string> LinesStartingWith(const std::vector<std::string>& lines, const std::string& start) {
  std::vector<std::string> found;
  for (const std::string& line : lines)
    if (line.starts_with(start)) found.push_back(line);
  return found;
}

// Download-all on a connection that pipelines asks every header as one run, then the rows it
// takes as one RETR run, and stores what a lock-step peek stores: not the large message, and
// nothing twice at the next peek.
TEST_F(MailboxSessionTest, APipelinedDownloadAllPeekAsksHeadersThenMessagesAsRunsAndStoresTheSame) {
  struct Way {
    const char* pipelining;
    std::vector<std::string> commands;  // TOP and RETR, in the order the server got them
  };
  const Way ways[] = {{"Never", {"TOP 1 0", "RETR 1", "TOP 2 0", "RETR 2", "TOP 3 0", "TOP 4 0", "RETR 4"}},
                      {"Always", {"TOP 1 0", "TOP 2 0", "TOP 3 0", "TOP 4 0", "RETR 1", "RETR 2", "RETR 4"}}};
  const std::map<std::string, std::string> stored = {{DatedFile(1), "1"}, {DatedFile(2), "2"}, {DatedFile(4), "4"}};
  for (const Way& way : ways) {
    SCOPED_TRACE(way.pipelining);
    std::filesystem::remove_all(folder_.File("mailbox1"));
    FakePop3Server server;
    server.ServeMailbox({DatedMessage(1), DatedMessage(2), DatedMessage(3, 3000), DatedMessage(4)});
    CMailboxSession session;
    CRecordedEvents first;
    CRecordedEvents second;
    session.RunPeek(DownloadAllPlan(server, way.pipelining), first);
    session.RunPeek(DownloadAllPlan(server, way.pipelining), second);

    std::vector<std::string> commands;
    for (const std::string& line : server.ReceivedLines())
      if (line.starts_with("TOP") || line.starts_with("RETR")) commands.push_back(line);
    ASSERT_EQ(commands.size(), way.commands.size() + 4) << "the second peek asks the headers only";
    commands.resize(way.commands.size());
    EXPECT_EQ(commands, way.commands);
    EXPECT_THAT(second.downloads, IsEmpty());
    EXPECT_THAT(LinesStartingWith(first.lines, "downloaded"),
                ElementsAre("downloaded 1 stored", "downloaded 2 stored", "downloaded 4 stored"));
    EXPECT_EQ(StoredSubjects(), stored);
    EXPECT_FALSE(first.lost_connection.has_value());
    EXPECT_TRUE(session.Connected());
  }
}

struct DownloadAllFault {
  const char* what;
  int big_header;  // the message whose header is too large to read; 0 for none
  std::function<void(FakePop3Server&)> break_server;
  // The last TOP (T) and RETR (R) the server got, with their numbers (a connection closed by a
  // header too large to read may or may not have read the headers sent ahead after it).
  const char* commands;
  const char* downloads;  // each download's message, stored (+) or not (-)
  std::vector<int> stored;  // the messages stored, each in its own file
  int connections;
  const char* lost;  // how the lost connection is told; "" when none is
};

// TOP and RETR as DownloadAllFault::commands tells them.
std::string RunCommands(const std::vector<std::string>& lines) {
  std::string commands;
  for (const std::string& line : lines) {
    if (line.starts_with("TOP ")) commands += "T" + line.substr(4, line.find(' ', 4) - 4) + " ";
    if (line.starts_with("RETR ")) commands += "R" + line.substr(5) + " ";
  }
  return commands;
}

// A pipelined download-all peek of four small messages that meets a fault: each stored file holds
// the right message, and a row not stored stays on the server to be downloaded later.
TEST_F(MailboxSessionTest, APipelinedDownloadAllPeekStoresOnlyRightMessagesWhateverItMeets) {
  const auto none = [](FakePop3Server&) {};
  const DownloadAllFault faults[] = {
      {"-ERR to one RETR", 0, [](FakePop3Server& s) { s.On("RETR 2", Reply("-ERR busy\r\n")); },
       "T1 T2 T3 T4 R1 R2 R3 R4 ", "1+ 2- 3+ 4+ ", {1, 3, 4}, 1, ""},
      {"a cut inside one RETR", 0, [](FakePop3Server& s) { s.On("RETR 2", ReplyAndClose("+OK\r\nSubject: 2\r\n")); },
       "T1 T2 T3 T4 R1 R2 ", "1+ 2- ", {1}, 1, "lost after 4 of 4 headers"},
      {"a silent server in the RETR run", 0, [](FakePop3Server& s) { s.GoSilentAfter(0, "RETR"); },
       "T1 T2 T3 T4 R1 R2 R3 R4 ", "1- ", {}, 1, "lost after 4 of 4 headers"},
      {"a silent server in the header run", 0, [](FakePop3Server& s) { s.GoSilentAfter(2, "TOP"); },
       "T1 T2 T3 T4 ", "", {}, 1, "lost after 2 of 4 headers"},
      {"a header too large in the middle", 2, none, "T3 T4 R1 R3 R4 ", "1+ 3+ 4+ ", {1, 3, 4}, 2, ""},
      {"a header too large last", 4, none, "T1 T2 T3 T4 R1 R2 R3 ", "1+ 2+ 3+ ", {1, 2, 3}, 2, ""},
      {"a silent server on the new login after a header too large last", 4,
       [](FakePop3Server& s) { s.GoSilentAfter(0, "RETR"); }, "T1 T2 T3 T4 R1 R2 R3 ", "1- ", {}, 2,
       "lost after 4 of 4 headers"},
      {"a refused new login after a header too large last", 4,
       [](FakePop3Server& s) {
         s.On("PASS", Reply("-ERR no more logins\r\n"));
         s.On("PASS", Reply("+OK\r\n"), 1);
       },
       "T1 T2 T3 T4 ", "", {}, 2, "lost after 4 of 4 headers: -ERR no more logins"},
  };
  const std::string big_header = "X-Big: " + std::string(CPop3Client::kMaxHeaderReply, 'b') + "\r\n";
  for (const DownloadAllFault& fault : faults) {
    SCOPED_TRACE(fault.what);
    std::filesystem::remove_all(folder_.File("mailbox1"));
    std::vector<std::string> messages;
    for (int n = 1; n <= 4; ++n) messages.push_back((n == fault.big_header ? big_header : "") + DatedMessage(n));
    FakePop3Server server;
    server.ServeMailbox(messages);
    fault.break_server(server);
    CMailboxSession session;
    session.Client().read_timeout_ms = 300;
    CRecordedEvents events;
    session.RunPeek(DownloadAllPlan(server, "Always"), events);

    EXPECT_THAT(RunCommands(server.ReceivedLines()), EndsWith(fault.commands));
    std::string downloads;
    for (const DownloadOutcome& d : events.downloads)
      downloads += std::to_string(d.record.message_number) + (d.result.stored ? "+ " : "- ");
    EXPECT_EQ(downloads, fault.downloads);
    std::map<std::string, std::string> stored;
    for (const int n : fault.stored) stored[DatedFile(n)] = std::to_string(n);
    EXPECT_EQ(std::filesystem::exists(folder_.File("mailbox1")) ? StoredSubjects() : decltype(stored)(), stored);
    EXPECT_EQ(server.ConnectionCount(), fault.connections);
    const std::string lost = events.lost_connection ? LostConnectionText(*events.lost_connection) : "";
    EXPECT_EQ(lost.empty(), *fault.lost == '\0') << lost;
    EXPECT_THAT(lost, HasSubstr(fault.lost));
  }
}

}  // namespace
}  // namespace larkspin
