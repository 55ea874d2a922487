// What screening reads from a working folder: rules.txt (missing, broken, changed), my addresses
// from config.ini and the address book's addresses.
#include "screening/screening_inputs.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "support/temp_folder.h"

namespace larkspin {
namespace {

using test_support::TempFolder;
using test_support::WriteFile;
using Addresses = std::vector<std::string>;

TEST(ScreeningInputsTest, AddressListsSplitOnSemicolonsAndCommas) {
  const std::pair<const char*, Addresses> cases[] = {
      {"", {}},
      {" a@x ; b@y,c@z ", {"a@x", "b@y", "c@z"}},
      {";; , a@x,", {"a@x"}},
      {"\ta@x\t", {"a@x"}},
  };
  for (const auto& [list, expected] : cases) EXPECT_EQ(SplitAddresses(list), expected) << list;
}

// MyAddresses longer than config.ini's usual 127 characters is read whole; an account without
// a real address adds none.
TEST(ScreeningInputsTest, MyAddressesAndTheAddressBookComeFromTheFolder) {
  TempFolder folder;
  const std::string dir = folder.Path() + "/";
  std::string long_list;
  for (int i = 0; i < 12; ++i) long_list += "person" + std::to_string(i) + "@example.org; ";
  WriteFile(dir + "config.ini", "[System]\nAccounts=3\nMyAddresses=" + long_list +
                                    "\n[Account1]\nMailAddress= anna@home.example \n[Account2]\n"
                                    "[Account3]\nMailAddress=work@office.example\n");
  WriteFile(dir + "address.txt", "Bob Stone*bob@example.org\r\nno address here\r\nCarl*carl@example.com\r\n");
  const ScreeningInputs inputs = ReadScreeningInputs(dir, TextEncoding::kClassic);
  ASSERT_EQ(inputs.my_addresses.size(), 14u);
  EXPECT_EQ(inputs.my_addresses[0], "anna@home.example");
  EXPECT_EQ(inputs.my_addresses[1], "work@office.example");
  EXPECT_EQ(inputs.my_addresses.back(), "person11@example.org");
  EXPECT_EQ(inputs.address_book, (Addresses{"bob@example.org", "carl@example.com"}));
  EXPECT_TRUE(inputs.Context().rules.empty());
  EXPECT_FALSE(inputs.rules.Rules().error) << "a missing rules.txt is no error";
}

TEST(ScreeningInputsTest, RuleFileIsReadAgainOnceChanged) {
  TempFolder folder;
  const std::string path = folder.File("rules.txt");
  CWorkingRules rules(folder.Path() + "/");
  EXPECT_FALSE(rules.Changed());
  WriteFile(path, "delete \"Casino\" from @casino.example\n");
  ASSERT_TRUE(rules.Changed());
  EXPECT_FALSE(rules.Changed()) << "once per change";
  ASSERT_EQ(rules.Reread().rules.size(), 1u);
  WriteFile(path, "delete \"Casino\" from @casino.example\ndelete \"Broken\" size > lots\n");
  ASSERT_TRUE(rules.Changed());
  const RuleFile& broken = rules.Reread();
  EXPECT_TRUE(broken.rules.empty());
  ASSERT_TRUE(broken.error);
  EXPECT_EQ(broken.error->line, 2);
  std::filesystem::remove(path);
  std::filesystem::create_directory(path);
  EXPECT_TRUE(rules.Changed());
  EXPECT_FALSE(rules.Reread().error) << "no file, no rules";
}

}  // namespace
}  // namespace larkspin
