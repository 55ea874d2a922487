// The address menu beside To, Cc and Bcc: the entries of address.txt in byte order, and
// "Customize..." to edit the file.
#include "common/message_box.h"
#include "compose/address_book.h"
#include "compose_window/dlg_send.h"
#include "ui/backend.h"
#include "ui/menu.h"

namespace larkspin {

void CDlgSend::ShowAddressMenu(int target_field) {
  address_target_ = target_field;
  address_entries_.clear();
  if (!ReadAddressBook(kAddressBookFile, address_entries_, host_.TextEncodingOfTexts()))
    MessageBox("Address Book 'address.txt' not found.", kBoxOk);
  CMenu menu;
  for (size_t index = 0; index < address_entries_.size(); ++index)
    menu.AppendItem(kFirstAddressCommand + static_cast<int>(index), address_entries_[index]);
  menu.AppendSeparator();
  menu.AppendItem(kCustomizeAddressCommand, "Customize...");
  TrackPopupMenu(menu, UiBackend().CursorPosition());
}

void CDlgSend::PickAddress(int command) {
  const size_t index = static_cast<size_t>(command - kFirstAddressCommand);
  if (address_target_ == 0 || index >= address_entries_.size()) return;
  const std::string address = AddressOfEntry(address_entries_[index]);
  SetItemText(address_target_, AppendAddress(ItemText(address_target_), address));
  SetFocusItem(address_target_);
}

}  // namespace larkspin
