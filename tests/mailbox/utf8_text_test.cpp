#include "mailbox/utf8_text.h"

#include <gtest/gtest.h>

namespace larkspin {
namespace {

StoredTextChoice Body(std::string text) { return {BodyKind::kOther, "", std::move(text), false}; }
StoredTextChoice Part(std::string text) { return {BodyKind::kMixed, "b", std::move(text), true}; }

TEST(StoredUtf8TextTest, UndoesTheTransferEncodingAndConvertsTheDeclaredCharset) {
  const struct {
    const char* what;
    StoredTextChoice choice;
    TextEncodingFields fields;
    std::string stored;
  } cases[] = {
      {"quoted-printable UTF-8 with a soft line break", Body("Gr=C3=BC=\r\n=C3=9Fe=3d\r\n"),
       {"text/plain; charset=\"UTF-8\"", "Quoted-Printable"}, "Gr\xC3\xBC\xC3\x9F" "e=\r\n"},
      {"base64 ISO-8859-1", Body("R3L8\r\n32U=\r\n"), {"text/plain; charset=iso-8859-1", "base64"},
       "Gr\xC3\xBC\xC3\x9F" "e"},
      {"8-bit KOI8-R", Body("\xF0\xD2\xC9\xD7\xC5\xD4"), {"text/plain; charset=koi8-r", "8bit"},
       "\xD0\x9F\xD1\x80\xD0\xB8\xD0\xB2\xD0\xB5\xD1\x82"},
      {"no charset: as received", Body("Gr\xFC\xDF" "e"), {"text/plain", ""}, "Gr\xFC\xDF" "e"},
      {"unknown charset: as received", Body("Gr\xFC"), {"text/plain; charset=x-martian", ""}, "Gr\xFC"},
      {"bytes not valid in the charset: as received", Body("Gr\xFC"), {"text/plain; charset=utf-8", ""}, "Gr\xFC"},
      {"a part's own fields, without its header lines and the next delimiter",
       Part("\r\nContent-Type: text/plain; charset=windows-1252\r\nContent-Transfer-Encoding: quoted-printable\r\n"
            "\r\n=93Hi=94\r\n--"),
       {"multipart/mixed; boundary=\"b\"", ""}, "\xE2\x80\x9CHi\xE2\x80\x9D"},
      {"a part without header lines", Part("\r\n\r\nplain\r\n--"), {"multipart/mixed; boundary=\"b\"", ""}, "plain"},
  };
  for (const auto& c : cases) EXPECT_EQ(StoredUtf8Text(c.choice, c.fields), c.stored) << c.what;
}

}  // namespace
}  // namespace larkspin
