// Fuzz target: the choice of the stored text. The input is a Content-Type value, a NUL, then the
// body; a chosen part always lies within the body (HTML aside, which is rebuilt).
#include <cstdlib>
#include <string>

#include "mailbox/stored_text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const size_t split = input.find('\0');
  const std::string_view type = input.substr(0, split);
  const std::string_view body = split == std::string_view::npos ? std::string_view() : input.substr(split + 1);
  const larkspin::StoredTextChoice choice = larkspin::ChooseStoredText(type, body);
  if (choice.kind != larkspin::BodyKind::kHtml && body.find(choice.text) == std::string_view::npos) std::abort();
  return 0;
}
