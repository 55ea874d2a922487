#include "common/message_box.h"

#include <cstdarg>
#include <cstdio>
#include <mutex>

#include "common/format.h"

namespace larkspin {

namespace {
constexpr size_t kMaxBoxText = 512;

std::mutex handler_mutex;
MessageBoxHandler installed_handler;

int ShowOnStandardError(unsigned style, const std::string& text) {
  std::fprintf(stderr, "%s\n", text.c_str());
  return DefaultButtonOfStyle(style);
}
}  // namespace

int DefaultButtonOfStyle(unsigned style) {
  const unsigned buttons = style & 0xF;
  if (buttons != kBoxYesNo && buttons != kBoxYesNoCancel) return kButtonOk;
  return style & kBoxDefaultNo ? kButtonNo : kButtonYes;
}

MessageBoxHandler SetMessageBoxHandler(MessageBoxHandler handler) {
  std::lock_guard lock(handler_mutex);
  MessageBoxHandler previous = std::move(installed_handler);
  installed_handler = std::move(handler);
  return previous;
}

int MessageBoxF(unsigned style, const char* format, ...) {
  va_list args;
  va_start(args, format);
  std::string text = FormatTextV(format, args);
  va_end(args);
  if (text.size() > kMaxBoxText) text.resize(kMaxBoxText);
  MessageBoxHandler handler;
  {
    std::lock_guard lock(handler_mutex);
    handler = installed_handler;
  }
  return handler ? handler(style, text) : ShowOnStandardError(style, text);
}

}  // namespace larkspin
