#pragma once
// The address book "address.txt": one "real name*email address" entry per line. The compose
// window offers its entries as a menu next to To, Cc and Bcc; the main window appends senders.
#include <string>
#include <vector>

#include "common/text_encoding.h"

namespace larkspin {

inline constexpr const char* kAddressBookFile = "address.txt";

// The menu entries of the address book at path, sorted by byte value: every line piece of up to
// 99 characters that holds "@", without its last character (the line feed), each "*" turned into
// a tab. With kUtf8 each entry is read as AsUtf8 does (an older Windows-1252 book still reads);
// Classic keeps the bytes. False (and no entries) when the file cannot be opened.
bool ReadAddressBook(const std::string& path, std::vector<std::string>& entries,
                     TextEncoding encoding = TextEncoding::kClassic);

// The address of a menu entry: the text after its first tab, or the whole entry.
std::string AddressOfEntry(const std::string& entry);

// The field text after picking an address: the address alone in an empty field, else the
// field, "; " and the address.
std::string AppendAddress(const std::string& field, const std::string& address);

// Appends line and a line end (CR LF) to the address book at path, creating it when missing.
// False when it cannot be written.
bool AppendToAddressBook(const std::string& path, const std::string& line);

}  // namespace larkspin
