#include "common/text_encoding.h"

#include "common/string_tools.h"
#include "common/windows_1252.h"

namespace larkspin {

std::string TextAsUtf8(std::string_view text, TextEncoding encoding) {
  return encoding == TextEncoding::kUtf8 ? std::string(text) : AsUtf8(text);
}

std::string TypedText(std::string_view typed, TextEncoding encoding) {
  return encoding == TextEncoding::kUtf8 ? AsUtf8(typed) : TypedTextToAnsi(typed);
}

TextEncoding TextEncodingOfSetting(std::string_view value) {
  return EqualsIgnoringCase(value, "Modern") ? TextEncoding::kUtf8 : TextEncoding::kClassic;
}

}  // namespace larkspin
