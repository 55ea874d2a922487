// The dialog templates, in dialog units, as the windows were laid out.
#include <array>

#include "res/resources.h"

namespace larkspin {

namespace {

using enum ControlKind;

ControlTemplate Button(int id, int x, int y, int w, int h, const char* text, unsigned style = kStyleNone) {
  return {id, kPushButton, x, y, w, h, text, style};
}
ControlTemplate Label(int id, int x, int y, int w, int h, const char* text, unsigned style = kStyleNone) {
  return {id, kStatic, x, y, w, h, text, style};
}
ControlTemplate Edit(int id, int x, int y, int w, int h, unsigned style = kStyleNone) {
  return {id, kEdit, x, y, w, h, "", style};
}
ControlTemplate DropDown(int id, int x, int y, int w, int h, unsigned style = kStyleNone) {
  return {id, kDropDownList, x, y, w, h, "", style};
}

const unsigned kSizableWindow = kDialogResizable | kDialogMinimizeBox | kDialogMaximizeBox;

DialogTemplate AboutBox() {
  return {kDialogAbout, "About Larkspin", 235, 83, kDialogResizable, {
    Label(1011, 10, 10, 215, 8, "Larkspin, Version 0.97 (5.28.19)"),
    Label(1012, 10, 22, 215, 8, "Peeks into POP3 mailboxes before anything is downloaded."),
    Label(1010, 10, 36, 215, 8, "", kStyleNotify),
    Button(1015, 122, 60, 50, 16, "&Disclaimer"),
    Button(1, 178, 60, 50, 16, "OK", kStyleDefaultButton),
  }};
}

DialogTemplate MainWindow() {
  return {kDialogMain, "Larkspin", 474, 281, kSizableWindow, {
    Button(1000, 7, 28, 77, 26, "&Connect", kStyleDefaultButton),
    Button(1046, 91, 28, 79, 26, "Down&load"),
    Button(1001, 176, 28, 78, 26, "D&elete"),
    Button(1007, 258, 28, 77, 26, "&Reset"),
    Button(1002, 341, 28, 78, 26, "&Disconnect", kStyleDisabled),
    Button(1004, 424, 28, 40, 26, "Close"),
    Button(1028, 7, 236, 75, 25, "C&ompose"),
    Button(1033, 87, 236, 74, 25, "Reply &To"),
    Button(1041, 170, 236, 76, 25, "&Forward"),
    {1003, kListView, 7, 70, 457, 158, "", kStyleReportView},
    DropDown(1008, 341, 7, 123, 119),
    DropDown(1048, 150, 7, 85, 66),
    Label(1049, 119, 11, 26, 8, "Folder:", kStyleRightAligned),
    Label(1060, 273, 10, 62, 8, "Active account:", kStyleRightAligned),
    Edit(1005, 7, 266, 267, 12, kStyleReadOnly),
    {1013, kProgressBar, 280, 265, 184, 10, "", kStyleNone},
    Label(1010, 7, 11, 103, 8, "", kStyleNotify),
    Button(1014, 31, 7, 11, 12, "About...", kStyleHidden),
  }};
}

DialogTemplate SendWindow() {
  return {kDialogSend, "Send Mail", 386, 281, kSizableWindow, {
    Label(1061, 7, 11, 33, 8, "Identity:"),
    DropDown(1059, 44, 7, 313, 57),
    Label(1062, 7, 36, 33, 8, "To:"),
    Edit(1025, 44, 30, 313, 14),
    Button(1038, 361, 30, 15, 14, "..."),
    Label(1063, 7, 56, 33, 8, "cc:"),
    Edit(1026, 44, 49, 109, 14),
    Button(1039, 159, 49, 12, 14, "..."),
    Label(1017, 234, 56, 15, 8, "bcc:"),
    Edit(1051, 254, 49, 103, 14),
    Button(1052, 361, 49, 15, 14, "..."),
    Label(1064, 7, 75, 33, 8, "Attach:"),
    Edit(1043, 44, 69, 313, 14),
    Button(1044, 361, 69, 15, 14, "..."),
    Label(1065, 7, 96, 33, 8, "Subject:"),
    Edit(1030, 44, 90, 256, 14),
    Label(1066, 315, 96, 15, 8, "Prio:", kStyleRightAligned),
    DropDown(1067, 334, 91, 42, 46),
    {1027, kRichEdit, 7, 113, 369, 134, "", kStyleMultiLine},
    Button(1029, 7, 254, 58, 20, "&Send"),
    Button(1032, 73, 254, 56, 20, "&New"),
    Button(1035, 137, 254, 57, 20, "&Print", kStyleDisabled),
    Button(1031, 318, 254, 58, 20, "&Close"),
  }};
}

DialogTemplate OpenAttachment() {
  return {kDialogOpenAttachment, "Open Attachment", 266, 149, kDialogPlain, {
    Button(1, 209, 103, 50, 19, "OK", kStyleDefaultButton),
    Button(2, 209, 122, 50, 20, "Cancel"),
    {1054, kListView, 7, 7, 252, 93, "", kStyleSingleSelection},
    Edit(1055, 7, 106, 198, 12),
    Edit(1056, 7, 124, 198, 12),
  }};
}

DialogTemplate FileView() {
  return {kDialogFileView, "", 404, 249, kSizableWindow, {
    {1024, kRichEdit, 7, 7, 382, 200, "", kStyleMultiLine},
    Button(11000, 329, 213, 60, 18, "&Close", kStyleDefaultButton),
    Button(11002, 7, 213, 60, 18, "&Print"),
    Label(11003, 7, 236, 382, 11, "", kStyleSunken),
    DropDown(1057, 82, 216, 151, 64, kStyleSorted),
    Button(1058, 239, 213, 60, 18, "&Open"),
  }};
}

DialogTemplate InputBox() {
  return {kDialogInput, "Input", 186, 86, kDialogPlain, {
    Label(11005, 7, 15, 172, 8, ""),
    Edit(11004, 7, 35, 172, 14),
    Button(1, 74, 59, 50, 20, "OK", kStyleDefaultButton),
    Button(2, 129, 59, 50, 20, "Cancel"),
    {1047, kCheckBox, 7, 69, 62, 10, "Remember", kStyleNone},
  }};
}

// Not part of the product: one of each widget, for looking at them in a real window.
DialogTemplate Gallery() {
  return {kDialogGallery, "Larkspin widget gallery", 330, 230, kSizableWindow, {
    Label(20010, 7, 7, 200, 8, "", kStyleNotify),
    {20003, kListView, 7, 20, 316, 80, "", kStyleReportView},
    {20013, kProgressBar, 7, 106, 316, 10, "", kStyleNone},
    {20024, kRichEdit, 7, 122, 316, 76, "", kStyleMultiLine},
    Button(20001, 7, 206, 70, 18, "&Input..."),
    Button(2, 253, 206, 70, 18, "&Close"),
  }};
}

const std::array<DialogTemplate, 7>& AllTemplates() {
  static const std::array<DialogTemplate, 7> templates = {AboutBox(), MainWindow(), SendWindow(), OpenAttachment(),
                                                          FileView(), InputBox(), Gallery()};
  return templates;
}

}  // namespace

const DialogTemplate* FindDialogTemplate(int id) {
  for (const DialogTemplate& layout : AllTemplates())
    if (layout.id == id) return &layout;
  return nullptr;
}

}  // namespace larkspin
