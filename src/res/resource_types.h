#pragma once
// Dialog templates and menu templates as data: what a backend needs to build a real window.
// Positions and sizes are in dialog units; a backend converts them with its font's base units.
#include <string>
#include <vector>

namespace larkspin {

enum class ControlKind {
  kPushButton,
  kStatic,
  kEdit,
  kCheckBox,
  kDropDownList,  // combo box that only picks from its list
  kListView,
  kRichEdit,
  kProgressBar,
};

// Control styles, combinable.
enum ControlStyle : unsigned {
  kStyleNone = 0,
  kStyleDefaultButton = 1u << 0,
  kStyleDisabled = 1u << 1,
  kStyleHidden = 1u << 2,
  kStyleRightAligned = 1u << 3,  // static text
  kStyleCentered = 1u << 4,      // static text
  kStyleReadOnly = 1u << 5,      // edit, rich edit
  kStylePassword = 1u << 6,      // edit
  kStyleMultiLine = 1u << 7,     // edit, rich edit
  kStyleSorted = 1u << 8,        // drop-down list
  kStyleSunken = 1u << 9,        // static text
  kStyleReportView = 1u << 10,   // list view: columns
  kStyleSingleSelection = 1u << 11,
  kStyleNotify = 1u << 12,       // static text that reports clicks
};

// The ids of the standard buttons in every template: OK, and Cancel (also Escape and the close box).
inline constexpr int kIdOk = 1;
inline constexpr int kIdCancel = 2;

struct ControlTemplate {
  int id = 0;
  ControlKind kind = ControlKind::kStatic;
  int x = 0, y = 0, width = 0, height = 0;
  std::string text;
  unsigned style = kStyleNone;
};

// Window styles.
enum DialogStyle : unsigned {
  kDialogPlain = 0,
  kDialogResizable = 1u << 0,       // sizing border
  kDialogMinimizeBox = 1u << 1,
  kDialogMaximizeBox = 1u << 2,
};

struct DialogTemplate {
  int id = 0;
  std::string caption;
  int width = 0, height = 0;
  unsigned style = kDialogPlain;
  std::vector<ControlTemplate> controls;
};

// One menu item: a command (id > 0), a separator, or a submenu (children not empty). The same
// record serves the templates and the live menus of the windows. A check item always shows its
// check box; any other command shows one only while it is checked.
struct MenuItem {
  int id = 0;
  std::string text;
  bool separator = false;
  bool check_item = false;
  bool checked = false;
  bool enabled = true;
  std::string shortcut;  // the key that runs the command, as the menu shows it ("Ctrl+N"); empty for none
  std::vector<MenuItem> children;
};

// Keys: a letter by its upper-case character, the others by these codes.
enum KeyCode : int { kKeyReturn = 13, kKeyEscape = 27, kKeyDelete = 127 };
// Modifier keys, combinable.
enum KeyModifier : unsigned { kKeyPlain = 0, kKeyCtrl = 1u << 0, kKeyAlt = 1u << 1, kKeyShift = 1u << 2 };

// A key of a window that runs a command (a control id or a menu command id) wherever the focus
// is, or only while focus_control has the focus.
struct Accelerator {
  int key = 0;
  unsigned modifiers = kKeyPlain;
  int command = 0;
  int focus_control = 0;
};

struct MenuTemplate {
  int id = 0;
  std::vector<MenuItem> top_level;  // the menu bar's items, each with its submenu
};

}  // namespace larkspin
