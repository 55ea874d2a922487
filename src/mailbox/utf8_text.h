#pragma once
// The stored text of a downloaded message for the Modern charsets: the chosen text (or part) with
// its transfer encoding undone and converted from its declared charset to UTF-8.
#include <string>
#include <string_view>

#include "mailbox/stored_text.h"

namespace larkspin {

// The fields that say how a text is encoded: the Content-Type and Content-Transfer-Encoding
// values of the message, or of the part the text was chosen from.
struct TextEncodingFields {
  std::string content_type;
  std::string transfer_encoding;
};

// The text of the choice as it is stored in Modern mode. A part of a multipart body loses its own
// header lines and the start of the delimiter after it, and its own fields say how it is encoded;
// otherwise the message's fields do. Quoted-printable and base64 are decoded; the text is then
// converted from the charset parameter of the Content-Type. Without a charset, or with one iconv
// does not know or the bytes do not fit, the decoded bytes are stored as received.
std::string StoredUtf8Text(const StoredTextChoice& choice, const TextEncodingFields& message_fields);

}  // namespace larkspin
