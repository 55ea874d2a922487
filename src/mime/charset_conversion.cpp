#include "mime/charset_conversion.h"

#include <iconv.h>

#include <algorithm>
#include <cctype>
#include <map>
#include <memory>

#include "common/string_tools.h"
#include "common/windows_1252.h"

namespace larkspin {

namespace {
bool IsCharsetNameByte(char c) {
  return std::isalnum(static_cast<unsigned char>(c)) || std::string_view("-_.:+()").find(c) != std::string_view::npos;
}

// Names that mail uses and iconv knows under another one.
std::string IconvName(std::string_view charset) {
  if (EqualsIgnoringCase(charset, "ks_c_5601-1987")) return "CP949";
  return std::string(charset);
}

bool IsCharsetName(std::string_view charset) {
  return !charset.empty() && std::ranges::all_of(charset, IsCharsetNameByte);
}

class CIconv {
 public:
  explicit CIconv(const std::string& from) : handle_(iconv_open("UTF-8", from.c_str())) {}
  ~CIconv() {
    if (IsOpen()) iconv_close(handle_);
  }
  CIconv(const CIconv&) = delete;
  CIconv& operator=(const CIconv&) = delete;

  bool IsOpen() const { return handle_ != reinterpret_cast<iconv_t>(-1); }

  std::optional<std::string> Convert(std::string_view bytes) {
    // A conversion that failed earlier may have left a shift state behind.
    iconv(handle_, nullptr, nullptr, nullptr, nullptr);
    std::string out(bytes.size() * 4 + 16, '\0');
    char* in_at = const_cast<char*>(bytes.data());
    size_t in_left = bytes.size();
    char* out_at = out.data();
    size_t out_left = out.size();
    // Every input byte makes at most four output bytes, and the final call writes a shift
    // sequence's end at most, so the buffer never runs short.
    if (iconv(handle_, &in_at, &in_left, &out_at, &out_left) == static_cast<size_t>(-1)) return std::nullopt;
    if (iconv(handle_, nullptr, nullptr, &out_at, &out_left) == static_cast<size_t>(-1)) return std::nullopt;
    out.resize(out.size() - out_left);
    return out;
  }

 private:
  iconv_t handle_;
};

// Opening a converter costs more than most header words; each thread keeps the ones it opened
// for the few charsets a mailbox uses, lower-cased names as keys.
constexpr size_t kMaxKeptConverters = 16;

CIconv* ConverterFor(std::string_view charset) {
  thread_local std::map<std::string, std::unique_ptr<CIconv>> converters;
  std::string key(charset);
  std::ranges::transform(key, key.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  if (const auto kept = converters.find(key); kept != converters.end()) return kept->second.get();
  auto converter = std::make_unique<CIconv>(IconvName(charset));
  if (!converter->IsOpen()) return nullptr;
  if (converters.size() >= kMaxKeptConverters) converters.clear();
  return converters.emplace(std::move(key), std::move(converter)).first->second.get();
}
}  // namespace

std::optional<std::string> ConvertToUtf8(std::string_view bytes, std::string_view charset) {
  if (!IsCharsetName(charset)) return std::nullopt;
  // UTF-8 and ASCII need no conversion, only a check; most mail is one of them.
  if (EqualsIgnoringCase(charset, "utf-8") || EqualsIgnoringCase(charset, "us-ascii")) {
    const bool valid = EqualsIgnoringCase(charset, "utf-8")
                           ? IsValidUtf8(bytes)
                           : std::ranges::none_of(bytes, [](char c) { return static_cast<unsigned char>(c) >= 0x80; });
    if (valid) return std::string(bytes);
    return std::nullopt;
  }
  CIconv* converter = ConverterFor(charset);
  if (converter == nullptr) return std::nullopt;
  return converter->Convert(bytes);
}

}  // namespace larkspin
