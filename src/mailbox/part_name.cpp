#include "mailbox/part_name.h"

#include <array>
#include <utility>

namespace larkspin {

namespace {
constexpr std::array<std::pair<std::string_view, std::string_view>, 30> kExtensions = {{
    {"text/plain", "txt"},
    {"text/html", "html"},
    {"text/calendar", "ics"},
    {"text/csv", "csv"},
    {"text/xml", "xml"},
    {"text/x-vcard", "vcf"},
    {"text/vcard", "vcf"},
    {"message/rfc822", "eml"},
    {"message/global", "eml"},
    {"image/png", "png"},
    {"image/jpeg", "jpg"},
    {"image/gif", "gif"},
    {"image/webp", "webp"},
    {"image/svg+xml", "svg"},
    {"image/tiff", "tif"},
    {"image/bmp", "bmp"},
    {"application/pdf", "pdf"},
    {"application/zip", "zip"},
    {"application/json", "json"},
    {"application/xml", "xml"},
    {"application/pgp-signature", "asc"},
    {"application/pgp-encrypted", "asc"},
    {"application/pgp-keys", "asc"},
    {"application/pkcs7-signature", "p7s"},
    {"application/x-pkcs7-signature", "p7s"},
    {"application/pkcs7-mime", "p7m"},
    {"application/x-pkcs7-mime", "p7m"},
    {"application/ms-tnef", "dat"},
    {"audio/mpeg", "mp3"},
    {"video/mp4", "mp4"},
}};

std::string_view ExtensionOf(std::string_view content_type) {
  for (const auto& [type, extension] : kExtensions)
    if (type == content_type) return extension;
  // Any other text, and the reports' headers and delivery status, read as text.
  if (content_type.starts_with("text/") || content_type.starts_with("message/")) return "txt";
  return "bin";
}
}  // namespace

std::string PartFileName(int position, std::string_view content_type) {
  return "part-" + std::to_string(position) + "." + std::string(ExtensionOf(content_type));
}

}  // namespace larkspin
