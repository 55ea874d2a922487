#include "config/language_table.h"

#include <gtest/gtest.h>

#include "res/control_ids.h"
#include "support/temp_folder.h"

namespace larkspin {
namespace {

using test_support::TempFolder;
using test_support::WriteFile;

TEST(LanguageTableTest, KeysWithAndWithoutDefault) {
  TempFolder folder;
  WriteFile(folder.File("language.ini"), "[Buttons]\nConnect=Verbinden\n[Labels]\nFolder=Ordner:\n");
  const CLanguageTable table(folder.File("language.ini"));
  EXPECT_EQ(table.TextOrNa("Buttons", "Connect"), "Verbinden");
  EXPECT_EQ(table.TextOrNa("Buttons", "Delete"), "n/a");
  EXPECT_EQ(table.Text("Labels", "Folder", "Folder:"), "Ordner:");
  EXPECT_EQ(table.Text("Labels", "ActiveAccount", "Active Account:"), "Active Account:");
  const CLanguageTable missing(folder.File("none.ini"));
  EXPECT_EQ(missing.TextOrNa("Headers", "From"), "n/a");
  EXPECT_EQ(missing.Text("Menu", "Help", "Help"), "Help");
}

TEST(LanguageTableTest, ReplacementWithOtherPlaceholdersFallsBackToTheDefault) {
  TempFolder folder;
  WriteFile(folder.File("language.ini"),
            "[Messages]\n"
            "StatusFetch=Lese Kopf %i von %d   Gesamt %.1f kB\n"
            "StatusTotal=Nachrichten: %s\n"
            "Peeking=Bereit: %d Min. bis %d. Abruf (100%%)\n"
            "Deleted=%d Nachricht(en) %d\n"
            "Connecting=verbinde mit %*s\n");
  const CLanguageTable table(folder.File("language.ini"));
  EXPECT_EQ(table.Template("Messages", "StatusFetch", "Reading header %d of %d   Total Size %.2lf kBytes"),
            "Lese Kopf %i von %d   Gesamt %.1f kB");
  EXPECT_EQ(table.Template("Messages", "StatusTotal", "Total messages: %d     Total size: %.2lf kbyte (%d byte)"),
            "Total messages: %d     Total size: %.2lf kbyte (%d byte)");
  EXPECT_EQ(table.Template("Messages", "Peeking", "Ready: %d min. until %d. larkspin"),
            "Bereit: %d Min. bis %d. Abruf (100%%)");
  EXPECT_EQ(table.Template("Messages", "Deleted", "%d message(s) deleted from server - Logout."),
            "%d message(s) deleted from server - Logout.");
  EXPECT_EQ(table.Template("Messages", "Connecting", "connecting to '%s'..."), "connecting to '%s'...");
}

TEST(LanguageTableTest, PlaceholderKindsIgnoreFlagsWidthAndLength) {
  EXPECT_EQ(PlaceholderKinds("%0.2d/%-5d %u %.2lf %s %c %%"), "iiufsc");
  EXPECT_EQ(PlaceholderKinds("%ld %lu %hhd %f"), "lilu" "hhi" "f");
  EXPECT_EQ(PlaceholderKinds("tail %"), "?");
  EXPECT_EQ(PlaceholderKinds("%y"), "?");
  EXPECT_EQ(PlaceholderKinds("none"), "");
}

TEST(LanguageTableTest, MenuEntriesAddressTopItemsByPositionAndCommandsById) {
  const auto& entries = MenuTextEntries();
  ASSERT_EQ(entries.size(), 32u);
  int top_items = 0;
  for (const MenuTextEntry& entry : entries) {
    if (entry.top_position >= 0) {
      EXPECT_EQ(entry.command_id, 0) << entry.key;
      EXPECT_EQ(entry.top_position, top_items++) << entry.key;
    }
  }
  EXPECT_EQ(top_items, 6);
  EXPECT_STREQ(entries[29].default_text, "Dowload all messages");
  EXPECT_EQ(entries[29].command_id, kCommandDownloadAll);
}

}  // namespace
}  // namespace larkspin
