#include "config/ini_file.h"

#include <gtest/gtest.h>

#include <tuple>

#include "config/startup_settings.h"
#include "config/working_files.h"
#include "support/temp_folder.h"

namespace larkspin {
namespace {

using test_support::ScopedWorkingDirectory;
using test_support::TempFolder;
using test_support::WriteFile;

TEST(IniFileTest, EachReaderHasItsOwnFallback) {
  TempFolder folder;
  WriteFile(folder.File("language.ini"), "[Buttons]\nSend=Senden\n[System]\nTimeOut= 12s\nBad=x1\nNeg=-4\n");
  const CIniFile ini(folder.File("language.ini"));
  EXPECT_EQ(ini.ReadText("Buttons", "Send"), "Senden");
  EXPECT_EQ(ini.ReadText("Buttons", "Connect"), "n/a");
  EXPECT_EQ(ini.ReadString("Buttons", "Connect", "Connect"), "Connect");
  EXPECT_EQ(ini.ReadInt("System", "TimeOut", 60), 12);
  EXPECT_EQ(ini.ReadInt("System", "Bad", 60), 0);
  EXPECT_EQ(ini.ReadInt("System", "Neg", 60), -4);
  EXPECT_EQ(ini.ReadInt("System", "Missing", 60), 60);
  EXPECT_EQ(CIniFile(folder.File("absent.ini")).ReadText("Buttons", "Send"), "n/a");
}

TEST(IniFileTest, ValuesAreCutAt127Characters) {
  TempFolder folder;
  WriteFile(folder.File("c.ini"), "[S]\nLong=" + std::string(200, 'x') + "\n");
  EXPECT_EQ(CIniFile(folder.File("c.ini")).ReadString("S", "Long", ""), std::string(127, 'x'));
}

TEST(IniFileTest, OnlyTheOAuthKeysKeepLongValues) {
  TempFolder folder;
  const std::string token(1100, 't');
  const struct {
    const char* key;
    size_t kept;
  } cases[] = {{"OAuthRefreshToken", 1100}, {"oauthtokenurl", 1100}, {"OAuthScopes", 1100}, {"OAuthClientId", 1100},
               {"OAuthClientSecret", 1100}, {"OAuthMechanism", 127}, {"POP3Password", 127}, {"OAuthRefreshTokenX", 127}};
  for (const auto& c : cases) {
    WriteFile(folder.File("c.ini"), std::string("[S]\n") + c.key + "=" + token + "\n");
    EXPECT_EQ(CIniFile(folder.File("c.ini")).ReadString("S", c.key, "").size(), c.kept) << c.key;
  }
}

TEST(IniFileTest, StartupValuesComeFromSystemWithTheirDefaults) {
  TempFolder folder;
  ScopedWorkingDirectory here(folder.Path());
  StartupSettings defaults = ReadStartupSettings();
  EXPECT_EQ(defaults.mail_threshold_kb, 100);
  EXPECT_EQ(defaults.timeout_seconds, 60);
  EXPECT_EQ(defaults.peek_minutes, 5);
  EXPECT_EQ(defaults.max_message_mb, 256);
  EXPECT_EQ(defaults.text_encoding, TextEncoding::kClassic);
  WriteFile(kConfigFile, "[System]\nPeekTime=0\nTimeOut=0\nMailThreshold=250\nMaxMessageMB=16\nCharsets=modern\n");
  StartupSettings read = ReadStartupSettings();
  EXPECT_EQ(read.mail_threshold_kb, 250);
  EXPECT_EQ(read.timeout_seconds, 0);
  EXPECT_EQ(read.peek_minutes, 0);
  EXPECT_EQ(read.max_message_mb, 16);
  EXPECT_EQ(read.text_encoding, TextEncoding::kUtf8);
  for (const auto& [setting, megabytes] : {std::pair("0", 256), std::pair("-5", 256), std::pair("99999", 2047)}) {
    WriteFile(kConfigFile, std::string("[System]\nMaxMessageMB=") + setting + "\n");
    EXPECT_EQ(ReadStartupSettings().max_message_mb, megabytes) << setting;
  }
  EXPECT_FALSE(defaults.fast_peek);
  EXPECT_EQ(defaults.parallel_accounts, 4);
  EXPECT_EQ(defaults.preview_lines, 40);
  for (const auto& [lines, parallel, preview] :
       {std::tuple("FastPeek=1\nParallelAccounts=0\nPreviewLines=0\n", 1, 1),
        std::tuple("FastPeek=1\nParallelAccounts=99\nPreviewLines=5000\n", 16, 1000),
        std::tuple("FastPeek=1\nParallelAccounts=7\nPreviewLines=12\n", 7, 12)}) {
    WriteFile(kConfigFile, std::string("[System]\n") + lines);
    const StartupSettings clamped = ReadStartupSettings();
    EXPECT_TRUE(clamped.fast_peek);
    EXPECT_EQ(clamped.parallel_accounts, parallel) << lines;
    EXPECT_EQ(clamped.preview_lines, preview) << lines;
  }
}

}  // namespace
}  // namespace larkspin
