// The file side of the address book and of the signature.
#include "compose/address_book.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "compose/text_file.h"
#include "support/temp_folder.h"

namespace larkspin {
namespace {

using test_support::ReadFile;
using test_support::TempFolder;
using test_support::WriteFile;

TEST(AddressBookTest, EntriesWithAnAtSignInByteOrderWithTabs) {
  TempFolder folder;
  WriteFile(folder.File("address.txt"),
            "zoe*zoe@example.org\r\nNo Address*nobody\r\nAnn Lee*ann@example.org\r\n"
            "\xC4rger*a@x.y\r\nbob*b@example.org*work\r\nLast*last@example.org");
  std::vector<std::string> entries;
  ASSERT_TRUE(ReadAddressBook(folder.File("address.txt"), entries));
  EXPECT_EQ(entries, (std::vector<std::string>{"Ann Lee\tann@example.org", "Last\tlast@example.or",
                                               "bob\tb@example.org\twork", "zoe\tzoe@example.org",
                                               "\xC4rger\ta@x.y"}));
  EXPECT_EQ(AddressOfEntry(entries[2]), "b@example.org\twork");
  EXPECT_EQ(AddressOfEntry("plain@x.y"), "plain@x.y");
}

TEST(AddressBookTest, LongLinesAreReadInPiecesOf99Characters) {
  TempFolder folder;
  const std::string first = "Long*" + std::string(90, 'l') + "@x.y";  // 99 characters
  WriteFile(folder.File("address.txt"), first + "tail@z\n");
  std::vector<std::string> entries;
  ASSERT_TRUE(ReadAddressBook(folder.File("address.txt"), entries));
  // Each piece loses its last character, line feed or not.
  EXPECT_EQ(entries, (std::vector<std::string>{"Long\t" + std::string(90, 'l') + "@x.", "tail@z"}));
}

TEST(AddressBookTest, MissingFileAndPickingAddresses) {
  std::vector<std::string> entries{"stale"};
  EXPECT_FALSE(ReadAddressBook("/nonexistent/address.txt", entries));
  EXPECT_TRUE(entries.empty());
  std::string field = AppendAddress("", "a@b.c");
  EXPECT_EQ(field, "a@b.c");
  field = AppendAddress(field, "a@b.c");
  EXPECT_EQ(field, "a@b.c; a@b.c");
}

TEST(AddressBookTest, AnAddedSenderIsListedNextTime) {
  TempFolder folder;
  const std::string path = folder.File("address.txt");
  ASSERT_TRUE(AppendToAddressBook(path, "Carl*carl@example.org"));
  ASSERT_TRUE(AppendToAddressBook(path, "Dora*dora@example.org"));
  EXPECT_EQ(ReadFile(path), "Carl*carl@example.org\r\nDora*dora@example.org\r\n");
  std::vector<std::string> entries;
  ASSERT_TRUE(ReadAddressBook(path, entries));
  EXPECT_EQ(entries, (std::vector<std::string>{"Carl\tcarl@example.org", "Dora\tdora@example.org"}));
  EXPECT_FALSE(AppendToAddressBook(folder.File("no/such/folder.txt"), "x*y@z"));
}

TEST(AddressBookTest, ModernReadsUtf8AndOlderWindows1252LinesAsUtf8ClassicKeepsBytes) {
  const std::string olena = "\xD0\x9E\xD0\xBB\xD0\xB5\xD0\xBD\xD0\xB0*olena@example.ua";  // Олена
  const std::string joerg_1252 = "J\xF6rg*joerg@example.de";
  const struct {
    TextEncoding encoding;
    std::vector<std::string> entries;
  } cases[] = {
      {TextEncoding::kUtf8, {"J\xC3\xB6rg\tjoerg@example.de", "\xD0\x9E\xD0\xBB\xD0\xB5\xD0\xBD\xD0\xB0\tolena@example.ua"}},
      {TextEncoding::kClassic, {"J\xF6rg\tjoerg@example.de", "\xD0\x9E\xD0\xBB\xD0\xB5\xD0\xBD\xD0\xB0\tolena@example.ua"}},
  };
  for (const auto& c : cases) {
    TempFolder folder;
    const std::string path = folder.File("address.txt");
    WriteFile(path, joerg_1252 + "\r\n");
    ASSERT_TRUE(AppendToAddressBook(path, olena));
    EXPECT_EQ(ReadFile(path), joerg_1252 + "\r\n" + olena + "\r\n") << "the added line keeps its bytes";
    std::vector<std::string> entries;
    ASSERT_TRUE(ReadAddressBook(path, entries, c.encoding));
    EXPECT_EQ(entries, c.entries);
  }
}

TEST(ReadTextFileTest, WholeFileOrThePlaceholder) {
  TempFolder folder;
  WriteFile(folder.File("signature.txt"), "Regards\r\nAnn\r\n");
  EXPECT_EQ(ReadTextFile(folder.File("signature.txt")).text, "Regards\r\nAnn\r\n");
  WriteFile(folder.File("zero.txt"), std::string("before\0after", 12));
  EXPECT_EQ(ReadTextFile(folder.File("zero.txt")).text, "before");
  EXPECT_EQ(ReadTextFile(folder.File("missing.txt")).text, "  \r\n");
  EXPECT_EQ(ReadTextFile("").text, "  \r\n");
  EXPECT_FALSE(ReadTextFile(folder.File("missing.txt")).read_error) << "a missing file is no read error";
}

TEST(ReadTextFileTest, AReadErrorGivesThePlaceholderAndSaysSo) {
  TempFolder folder;
  // A folder opens for reading but cannot be read.
  const TextFileContents contents = ReadTextFile(folder.Path());
  EXPECT_EQ(contents.text, "  \r\n");
  EXPECT_TRUE(contents.read_error);
}

}  // namespace
}  // namespace larkspin
