#pragma once
// The formatted message box. Engine code reports through it; the window layer installs the
// handler that shows a real modal box. Without a handler the text goes to standard error and
// the default button (OK, or Yes for a Yes/No or Yes/No/Cancel question unless kBoxDefaultNo
// makes it No) is returned.
#include <functional>
#include <string>

namespace larkspin {

// Box styles and icons, combinable with |. A style without an icon shows the warning icon
// (so style 0 is an OK box with the warning icon); kBoxPlain asks for no icon at all.
enum MessageBoxStyle : unsigned {
  kBoxOk = 0x0,
  kBoxOkCancel = 0x1,
  kBoxYesNoCancel = 0x3,  // Yes is the default button
  kBoxYesNo = 0x4,
  kBoxIconError = 0x10,
  kBoxIconQuestion = 0x20,
  kBoxIconWarning = 0x30,
  kBoxIconInformation = 0x40,
  kBoxDefaultNo = 0x100,  // a Yes/No question whose default button is No
  kBoxPlain = 0x1000,
};

// Buttons a box returns.
enum MessageBoxButton : int { kButtonOk = 1, kButtonCancel = 2, kButtonYes = 6, kButtonNo = 7 };

using MessageBoxHandler = std::function<int(unsigned style, const std::string& text)>;

// The button a box of style returns when nobody answers: Yes (or No with kBoxDefaultNo) for a
// question, OK otherwise.
int DefaultButtonOfStyle(unsigned style);

// Installs the handler and returns the previous one.
MessageBoxHandler SetMessageBoxHandler(MessageBoxHandler handler);

// Formats into at most 512 characters and shows the box; returns the button pressed.
int MessageBoxF(unsigned style, const char* format, ...) __attribute__((format(printf, 2, 3)));

}  // namespace larkspin
