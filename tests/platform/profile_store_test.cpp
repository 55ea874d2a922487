#include "platform/profile_store.h"

#include <cstdlib>

#include <gtest/gtest.h>

#include "support/temp_folder.h"

namespace larkspin {
namespace {

TEST(ProfileStoreTest, LivesUnderTheConfigHomeAndCreatesItsFolder) {
  test_support::TempFolder folder;
  const char* previous = std::getenv("XDG_CONFIG_HOME");
  const std::string kept = previous ? previous : "";
  setenv("XDG_CONFIG_HOME", folder.Path().c_str(), 1);
  CProfileStore store;
  EXPECT_EQ(store.Path(), folder.Path() + "/larkspin/profile.ini");
  EXPECT_EQ(store.GetInt("66", "account", 0), 0);
  ASSERT_TRUE(store.WriteInt("66", "account", 3));
  ASSERT_TRUE(store.WriteString("66", "info", "Larkspin, Version 0.97"));
  EXPECT_EQ(CProfileStore().GetInt("66", "ACCOUNT", 0), 3);
  EXPECT_EQ(store.GetString("66", "info", ""), "Larkspin, Version 0.97");
  EXPECT_EQ(store.GetInt("66", "CX", -1), -1);
  if (previous) setenv("XDG_CONFIG_HOME", kept.c_str(), 1); else unsetenv("XDG_CONFIG_HOME");
}

}  // namespace
}  // namespace larkspin
