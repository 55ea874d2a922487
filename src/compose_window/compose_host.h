#pragma once
// What the compose window uses of the window that opened it: the current account (the identity
// it starts with and the one it loads again when it closes), the server time-out, and the loader
// of an account's settings, which may ask for that account's POP3 login and password, and the
// desktop's editor for the address book.
#include <string>

#include "common/text_encoding.h"
#include "config/account_record.h"

namespace larkspin {

class CComposeHost {
 public:
  virtual ~CComposeHost() = default;
  virtual int CurrentAccountNumber() const = 0;
  virtual std::string CurrentDisplayName() const = 0;
  virtual int TimeoutSeconds() const = 0;
  // The encoding the program's texts are held in ([System] Charsets): what Send reads typed text as.
  virtual TextEncoding TextEncodingOfTexts() const = 0;
  // Fills record with the account's settings; its credentials become the host's current ones.
  virtual void LoadAccountRecord(int account_number, AccountRecord& record) = 0;
  // Opens a file of the working folder in the desktop's editor; the host reports a failure.
  virtual void OpenInEditor(const std::string& file) = 0;
};

}  // namespace larkspin
