// The main menu (141) with its command ids.
#include "res/resources.h"

namespace larkspin {

namespace {

MenuItem Command(int id, const char* text, bool checked = false) {
  MenuItem item;
  item.id = id;
  item.text = text;
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
    Submenu("&Larkspin", {Command(32782, "&Lock Screen"), Separator(), Command(32771, "E&xit")}),
    Submenu("&Edit", {Command(32784, "&Address Book"), Command(32785, "&Signature"), Separator(),
                      Command(32773, "&Properties")}),
    Submenu("&View", {Submenu("&Mailbox", {Command(32778, "&Online", true), Command(32777, "O&ffline"),
                                           Command(32788, "&Sent"), Separator(), Command(32789, "&Attachments")}),
                      Separator(), Command(32786, "&Logfile"), Command(32787, "&Empty Logfile")}),
    Submenu("&Account", {Command(32774, "&Unlock current Account"), Separator(), Command(32780, "Reset Login"),
                         Command(32781, "Reset Password"), Separator(),
                         Command(32783, "&Download all messages")}),
    Submenu("&Help", {Command(32772, "&Info")}),
  }};
}

}  // namespace

const MenuTemplate* FindMenuTemplate(int id) {
  static const MenuTemplate main_menu = MainMenu();
  return id == main_menu.id ? &main_menu : nullptr;
}

}  // namespace larkspin
