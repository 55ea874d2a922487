#include "platform/program_start.h"

#include <gtest/gtest.h>

namespace larkspin {
namespace {

TEST(ProgramStartTest, ExitCodesAndFailuresToStartAreTold) {
  EXPECT_EQ(RunProgram("true", "x", true), 0);
  EXPECT_EQ(RunProgram("sh", "-c", true), 2);  // "-c" without a command is a usage error
  EXPECT_EQ(RunProgram("no-such-program-larkspin", "x", true), kProgramNotStarted);
  EXPECT_FALSE(StartProgram("no-such-program-larkspin", "x"));
  EXPECT_TRUE(StartProgram("true", "x"));
}

}  // namespace
}  // namespace larkspin
