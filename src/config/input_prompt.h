#pragma once
// The one-line input question the engine asks the user (login, password, an address-book
// name). The input dialog implements it on screen; tests script it.
#include <string>

#include "common/text_encoding.h"

namespace larkspin {

struct InputRequest {
  std::string caption;
  std::string prompt;
  std::string initial_text;
  bool password_style = false;
  bool show_remember = false;
  bool remember_preset = false;
  // How the answer is held: Classic typed text as Windows-1252, kUtf8 as UTF-8.
  TextEncoding answer_encoding = TextEncoding::kClassic;
  // Why a value that should have been stored is asked for (the keyring could not be read), or
  // empty; the window shows it in its status line while it asks.
  std::string notice;
};

struct InputAnswer {
  std::string text;
  bool remember = false;
};

class CInputPrompt {
 public:
  virtual ~CInputPrompt() = default;
  // Shows the question modally; true for OK, false for Cancel (the answer is then empty).
  virtual bool Ask(const InputRequest& request, InputAnswer& answer) = 0;
};

}  // namespace larkspin
