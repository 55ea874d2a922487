#pragma once
// What screening needs besides the message, read from a working folder: its rules, the user's
// own addresses and the address book's addresses (the allow list).
#include <string>
#include <string_view>
#include <vector>

#include "common/text_encoding.h"
#include "screening/screening.h"
#include "screening/working_rules.h"

namespace larkspin {

// The addresses of a list separated by ";" or ",", blanks around each trimmed, empty ones left out.
std::vector<std::string> SplitAddresses(std::string_view list);

// My addresses from config.ini at config_path: every account's MailAddress that holds an "@",
// then those of [System] MyAddresses, read whole (however long the list).
std::vector<std::string> MyAddresses(const std::string& config_path);

// The addresses of the address book at path; none when it cannot be read.
std::vector<std::string> AddressBookAddresses(const std::string& path, TextEncoding encoding);

struct ScreeningInputs {
  explicit ScreeningInputs(const std::string& folder) : rules(folder) {}
  CWorkingRules rules;
  std::vector<std::string> my_addresses;
  std::vector<std::string> address_book;

  // The context for Screen; valid while these inputs are.
  ScreeningContext Context() const { return {rules.Rules().rules, my_addresses, address_book}; }
};

// The inputs of folder (ending in "/", or empty for the working directory): its rules.txt,
// config.ini and address.txt.
ScreeningInputs ReadScreeningInputs(const std::string& folder, TextEncoding encoding);

}  // namespace larkspin
