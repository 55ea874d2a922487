#include "config/language_file.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "support/temp_folder.h"

namespace larkspin {
namespace {

using test_support::TempFolder;
using test_support::WriteFile;

// Which file is read, by which of the three places hold one: the working folder, an install
// prefix (<prefix>/bin/larkspin with <prefix>/share/larkspin), and a build tree (the program
// with share/larkspin beside it).
struct LanguageFileCase {
  bool in_working_folder;
  bool installed;
  bool in_build_tree;
  const char* expected;  // "work", "installed", "build" or "none"
};

class LanguageFileTest : public ::testing::TestWithParam<LanguageFileCase> {};

TEST_P(LanguageFileTest, TheWorkingFoldersOwnComesFirstThenTheInstalledOne) {
  const LanguageFileCase& c = GetParam();
  TempFolder folder;
  std::filesystem::create_directories(folder.File("work"));
  std::filesystem::create_directories(folder.File("prefix/bin/share/larkspin"));
  std::filesystem::create_directories(folder.File("prefix/share/larkspin"));
  test_support::ScopedWorkingDirectory here(folder.File("work"));
  if (c.in_working_folder) WriteFile("language.ini", "work");
  if (c.installed) WriteFile(folder.File("prefix/share/larkspin/language.ini"), "installed");
  if (c.in_build_tree) WriteFile(folder.File("prefix/bin/share/larkspin/language.ini"), "build");

  const std::string chosen = FirstExistingFile(LanguageFileCandidates(folder.File("prefix/bin")));
  if (std::string(c.expected) == "none") {
    EXPECT_EQ(chosen, "language.ini") << "none: the working folder's name, every text its default";
  } else {
    EXPECT_EQ(test_support::ReadFile(chosen), c.expected) << chosen;
  }
}

INSTANTIATE_TEST_SUITE_P(Places, LanguageFileTest,
                         ::testing::Values(LanguageFileCase{true, true, true, "work"},
                                           LanguageFileCase{false, true, true, "installed"},
                                           LanguageFileCase{false, false, true, "build"},
                                           LanguageFileCase{false, false, false, "none"}));

}  // namespace
}  // namespace larkspin
