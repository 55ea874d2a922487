// The columns of "larkspin screen" that the Dovecot test does not reach, and its wrong arguments.
#include "cli/screen_lines.h"

#include <gtest/gtest.h>

#include "cli_runner.h"
#include "support/temp_folder.h"

namespace larkspin {
namespace {

TEST(ScreenLinesTest, ColumnsSayNothingAsADash) {
  ScreeningVerdict verdict;
  EXPECT_EQ(ActionColumn(verdict) + RuleColumn(verdict) + SignalsColumn(verdict.signals), "---");
  verdict.action = RuleAction::kAllow;
  verdict.in_address_book = true;
  verdict.signals.set(static_cast<size_t>(Signal::kBulk)).set(static_cast<size_t>(Signal::kSpam));
  EXPECT_EQ(ActionColumn(verdict) + " " + RuleColumn(verdict) + " " + SignalsColumn(verdict.signals),
            "allow (address book) spam,bulk");
  PeekedRow row;
  row.message = HeaderTooLargeMessage(4, "", 5 << 20, TextEncoding::kClassic);
  EXPECT_EQ(ScreenLine(row, {}).substr(0, 8), "4\t-\t-\t-\t");
}

TEST(ScreenLinesTest, WrongArgumentsGiveTheUsage) {
  test_support::TempFolder folder;
  for (const std::vector<std::string>& arguments :
       std::vector<std::vector<std::string>>{{"screen", "--apply", "--apply"}, {"screen", "--account"},
                                             {"screen", "--all", "--account", "1"}, {"screen", "apply"}}) {
    const test_support::CliRun run = test_support::RunLarkspin(folder.Path(), arguments);
    EXPECT_EQ(run.exit_status, 2) << arguments.back();
    EXPECT_EQ(run.err, "larkspin: usage: larkspin screen [--account N | --all] [--apply]\n");
  }
}

}  // namespace
}  // namespace larkspin
