#include "screening/screening_inputs.h"

#include "common/string_tools.h"
#include "compose/address_book.h"
#include "config/current_account.h"
#include "config/ini_file.h"
#include "config/working_files.h"
#include "platform/private_profile.h"

namespace larkspin {

std::vector<std::string> SplitAddresses(std::string_view list) {
  std::vector<std::string> addresses;
  size_t start = 0;
  while (start <= list.size()) {
    size_t end = list.find_first_of(";,", start);
    if (end == std::string_view::npos) end = list.size();
    const std::string_view address = Trimmed(list.substr(start, end - start));
    if (!address.empty()) addresses.emplace_back(address);
    start = end + 1;
  }
  return addresses;
}

// MyAddresses is read without CIniFile's cut to 127 characters: a cut list would drop addresses,
// and mail to them would count as not to me.
std::vector<std::string> MyAddresses(const std::string& config_path) {
  const CIniFile config(config_path);
  std::vector<std::string> addresses;
  const int accounts = config.ReadInt("System", "Accounts", 0);
  for (int n = 1; n <= accounts; ++n) {
    const std::string address(Trimmed(config.ReadString(AccountSection(n), "MailAddress", "")));
    if (address.find('@') != std::string::npos) addresses.push_back(address);
  }
  for (std::string& address : SplitAddresses(ReadProfileString(config_path, "System", "MyAddresses", "")))
    addresses.push_back(std::move(address));
  return addresses;
}

std::vector<std::string> AddressBookAddresses(const std::string& path, TextEncoding encoding) {
  std::vector<std::string> entries;
  ReadAddressBook(path, entries, encoding);
  std::vector<std::string> addresses;
  for (const std::string& entry : entries) addresses.emplace_back(Trimmed(AddressOfEntry(entry)));
  return addresses;
}

ScreeningInputs ReadScreeningInputs(const std::string& folder, TextEncoding encoding) {
  ScreeningInputs inputs(folder);
  inputs.my_addresses = MyAddresses(folder + kConfigFile);
  inputs.address_book = AddressBookAddresses(folder + kAddressBookFile, encoding);
  return inputs;
}

}  // namespace larkspin
