// The main menu (141).
#include "res/control_ids.h"
#include "res/resources.h"

namespace larkspin {

namespace {

MenuItem Command(int id, const char* text) {
  MenuItem item;
  item.id = id;
  item.text = text;
  return item;
}

// A command that always shows its check box: one of the mailbox views.
MenuItem CheckCommand(int id, const char* text, bool checked = false) {
  MenuItem item = Command(id, text);
  item.check_item = true;
  item.checked = checked;
  return item;
}

MenuItem Separator() {
  MenuItem item;
  item.separator = true;
  return item;
}

MenuItem Submenu(const char* text, std::vector<MenuItem> children) {
  MenuItem item;
  item.text = text;
  item.children = std::move(children);
  return item;
}

MenuTemplate MainMenu() {
  return {kMenuMain, {
    Submenu("&Larkspin", {Command(kCommandLockScreen, "&Lock Screen"), Separator(), Command(kCommandExit, "E&xit")}),
    Submenu("&Edit", {Command(kCommandAccounts, "A&ccounts..."), Separator(),
                      Command(kCommandAddressBook, "&Address Book"), Command(kCommandSignature, "&Signature"),
                      Command(kCommandRules, "R&ules..."),
                      Separator(), Command(kCommandProperties, "&Properties"),
                      Command(kCommandReloadSettings, "&Reload settings")}),
    Submenu("&View", {Submenu("&Mailbox", {CheckCommand(kCommandOnline, "&Online", true),
                                           CheckCommand(kCommandOffline, "O&ffline"),
                                           CheckCommand(kCommandSent, "&Sent"),
                                           CheckCommand(kCommandDrafts, "&Drafts"),
                                           CheckCommand(kCommandDeleted, "D&eleted Mail"),
                                           Separator(), Command(kCommandAttachments, "&Attachments")}),
                      CheckCommand(kCommandPreview, "&Preview", true),
                      Separator(), Command(kCommandLogfile, "&Logfile"),
                      Command(kCommandEmptyLogfile, "&Empty Logfile")}),
    Submenu("&Message", {Command(kCommandOpenMessage, "&Open"), Command(kComposeButton, "&Compose"),
                         Command(kReplyToButton, "&Reply To"), Command(kForwardButton, "&Forward"), Separator(),
                         Command(kDeleteButton, "Mark for &Deletion")}),
    Submenu("&Account", {Command(kCommandUnlockAccount, "&Unlock current Account"), Separator(),
                         Command(kCommandResetLogin, "Reset Login"), Command(kCommandResetPassword, "Reset Password"),
                         Separator(), Command(kCommandDownloadAll, "&Download all messages")}),
    Submenu("&Help", {Command(kCommandInfo, "&Info")}),
  }};
}

}  // namespace

const MenuTemplate* FindMenuTemplate(int id) {
  static const MenuTemplate main_menu = MainMenu();
  return id == main_menu.id ? &main_menu : nullptr;
}

}  // namespace larkspin
