// "larkspin download" with Charsets=Modern over a corpus of messages in the shapes real mail
// programs write (tests/cli/corpus/, broken ones included) and a few large ones made at run time,
// all served by Dovecot and downloaded in one call. corpus_check.py fetches the same messages from
// the same server, reads them with Python's email package and checks that every message got a
// file of its own, that its text is the text Python chooses, and that every other part is an
// attachment file holding exactly the part's bytes. "larkspin preview" of each message is checked
// the same way: whole where the preview's lines hold the whole body, else its beginning; and so is
// what a pipelined Download All peek stores of the same mailbox.
#include <gtest/gtest.h>

#include <cstdio>

#include <sstream>
#include <string>
#include <vector>

#include "cli/quiet_events.h"
#include "cli_runner.h"
#include "config/input_prompt.h"
#include "peek/mailbox_session.h"
#include "support/dovecot_server.h"
#include "support/python_check.h"
#include "support/temp_folder.h"

namespace larkspin {
namespace {

using test_support::CliRun;
using test_support::ReadFile;
using test_support::RunLarkspin;
using test_support::RunPython;
using test_support::TempFolder;
using test_support::WriteFile;

// The corpus with CR LF line ends and the generated messages, as files in folder, in server order.
std::vector<std::string> PreparedMessages(const std::string& folder) {
  int status = -1;
  std::istringstream paths(RunPython(ReadFile(LARKSPIN_CORPUS_CHECK),
                                     "prepare\ncorpus " LARKSPIN_CORPUS "\nfolder " + folder + "\n", &status));
  EXPECT_EQ(status, 0);
  std::vector<std::string> messages;
  for (std::string path; std::getline(paths, path);) messages.push_back(path);
  return messages;
}

std::string FileName(const std::string& path) { return path.substr(path.rfind('/') + 1); }

// Writes one line per download, as "larkspin download" prints it: number, result code, stored
// file, attachment names.
class CDownloadLines : public CQuietEvents {
 public:
  void OnDownloadResult(const DownloadOutcome& outcome) override {
    std::string names;
    for (const std::string& name : outcome.record.attachments) names += (names.empty() ? "" : ",") + name;
    lines += std::to_string(outcome.record.message_number) + "\t" + std::to_string(outcome.result.code) + "\t" +
             outcome.record.local_file + "\t" + names + "\n";
  }
  std::string lines;
};

class CNoPrompt : public CInputPrompt {
 public:
  bool Ask(const InputRequest&, InputAnswer&) override { return false; }
};

// Prints the summary line of a check's report, or all of it when it has none.
void PrintSummary(const std::string& report) {
  const size_t summary = report.rfind("summary:");
  std::printf("%s", report.c_str() + (summary == std::string::npos ? 0 : summary));
}

class CorpusTest : public ::testing::Test {
 protected:
  void SetUp() override {
    messages_ = PreparedMessages(prepared_.Path());
    ASSERT_GE(messages_.size(), 60u);
    server_.AddUser("user", "secret");
    for (const std::string& path : messages_) server_.AddMessage("user", ReadFile(path));
    server_.Start();
  }

  // The Python check's input: its mode, the server's port, the given lines, one line per message.
  std::string CheckInput(const std::string& mode, const std::string& lines) const {
    std::string input = mode + "\nport " + std::to_string(server_.Port()) + "\n" + lines;
    for (const std::string& path : messages_) input += "message " + FileName(path) + "\n";
    return input;
  }

  TempFolder prepared_;
  std::vector<std::string> messages_;
  test_support::DovecotServer server_;
};

TEST_F(CorpusTest, EveryMessageIsStoredWholeInAFileOfItsOwn) {
  TempFolder work;
  WriteFile(work.File("config.ini"), test_support::ConfigFor({server_.Port()}, "Charsets=Modern\r\n"));
  std::vector<std::string> arguments = {"download", "--account", "1"};
  for (size_t n = 1; n <= messages_.size(); ++n) arguments.push_back(std::to_string(n));
  const CliRun run = RunLarkspin(work.Path(), arguments);

  int status = -1;
  const std::string report = RunPython(ReadFile(LARKSPIN_CORPUS_CHECK),
                                       CheckInput("check", "work " + work.Path() + "\nprepared " + prepared_.Path() + "\n"), &status);
  // The summary (messages, own files, intact attachments, matching texts) is shown either way.
  PrintSummary(report);
  EXPECT_EQ(status, 0) << report;
  EXPECT_EQ(run.exit_status, 0) << run.err;
}

TEST_F(CorpusTest, APipelinedDownloadAllPeekStoresEveryMessageWhole) {
  TempFolder work;
  WriteFile(work.File("config.ini"), test_support::ConfigFor({server_.Port()}, "Charsets=Modern\r\n"));
  test_support::ScopedWorkingDirectory here(work.Path());
  CNoPrompt prompt;
  CCurrentAccount account(prompt);
  account.account_number = 1;
  PeekPlan plan(account);
  plan.account_names = {"Box 1"};
  plan.waits = {0, 0, 0, 0};
  plan.pipeline = true;
  plan.download_all = true;
  plan.mail_threshold_kb = 1 << 20;  // the generated messages of megabytes too
  CMailboxSession session;
  session.text_encoding = TextEncoding::kUtf8;
  CDownloadLines events;
  session.RunPeek(plan, events);
  EXPECT_TRUE(session.Client().Pipelines());
  session.LogOut(0, events);
  WriteFile(work.File("cli.out"), events.lines);

  int status = -1;
  const std::string report = RunPython(ReadFile(LARKSPIN_CORPUS_CHECK),
                                       CheckInput("check", "work " + work.Path() + "\nprepared " + prepared_.Path() + "\n"), &status);
  PrintSummary(report);
  EXPECT_EQ(status, 0) << report;
}

TEST_F(CorpusTest, EveryMessagePreviewsAsItsDownloadBegins) {
  const std::string lines = "200";
  TempFolder work;
  WriteFile(work.File("config.ini"),
            test_support::ConfigFor({server_.Port()}, "Charsets=Modern\r\nPreviewLines=" + lines + "\r\n"));
  TempFolder previews;
  for (size_t n = 1; n <= messages_.size(); ++n) {
    const CliRun run = RunLarkspin(work.Path(), {"preview", "--account", "1", std::to_string(n)});
    EXPECT_EQ(run.exit_status, 0) << FileName(messages_[n - 1]) << ": " << run.err;
    WriteFile(previews.File(std::to_string(n) + ".out"), run.out);
  }
  int status = -1;
  const std::string report = RunPython(ReadFile(LARKSPIN_CORPUS_CHECK),
                                       CheckInput("preview", "lines " + lines + "\npreviews " + previews.Path() + "\n"), &status);
  PrintSummary(report);
  EXPECT_EQ(status, 0) << report;
}

}  // namespace
}  // namespace larkspin
