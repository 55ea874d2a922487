// "larkspin download" with Charsets=Modern over a corpus of messages in the shapes real mail
// programs write (tests/cli/corpus/, broken ones included) and a few large ones made at run time,
// all served by Dovecot and downloaded in one call. corpus_check.py fetches the same messages from
// the same server, reads them with Python's email package and checks that every message got a
// file of its own, that its text is the text Python chooses, and that every other part is an
// attachment file holding exactly the part's bytes.
#include <gtest/gtest.h>

#include <cstdio>

#include <sstream>
#include <string>
#include <vector>

#include "cli_runner.h"
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

TEST(DownloadCorpusTest, EveryMessageIsStoredWholeInAFileOfItsOwn) {
  TempFolder prepared;
  const std::vector<std::string> messages = PreparedMessages(prepared.Path());
  ASSERT_GE(messages.size(), 60u);

  test_support::DovecotServer server;
  server.AddUser("user", "secret");
  for (const std::string& path : messages) server.AddMessage("user", ReadFile(path));
  server.Start();

  TempFolder work;
  WriteFile(work.File("config.ini"), test_support::ConfigFor({server.Port()}, "Charsets=Modern\r\n"));
  std::vector<std::string> arguments = {"download", "--account", "1"};
  for (size_t n = 1; n <= messages.size(); ++n) arguments.push_back(std::to_string(n));
  const CliRun run = RunLarkspin(work.Path(), arguments);

  std::string check = "check\nport " + std::to_string(server.Port()) + "\nwork " + work.Path() + "\nprepared " + prepared.Path() + "\n";
  for (const std::string& path : messages) check += "message " + FileName(path) + "\n";
  int status = -1;
  const std::string report = RunPython(ReadFile(LARKSPIN_CORPUS_CHECK), check, &status);
  // The summary (messages, own files, intact attachments, matching texts) is shown either way.
  const size_t summary = report.rfind("summary:");
  std::printf("%s", report.c_str() + (summary == std::string::npos ? 0 : summary));
  EXPECT_EQ(status, 0) << report;
  EXPECT_EQ(run.exit_status, 0) << run.err;
}

}  // namespace
}  // namespace larkspin
