#include "compose/text_file.h"

#include <cstdio>

namespace larkspin {

TextFileContents ReadTextFile(const std::string& path) {
  if (path.empty()) return {kMissingTextPlaceholder};
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) return {kMissingTextPlaceholder};
  std::string text;
  char chunk[16384];
  size_t count;
  while ((count = std::fread(chunk, 1, sizeof chunk, file)) > 0) text.append(chunk, count);
  const bool failed = std::ferror(file) != 0;
  std::fclose(file);
  if (failed) return {kMissingTextPlaceholder, true};
  return {text.substr(0, text.find('\0'))};
}

}  // namespace larkspin
