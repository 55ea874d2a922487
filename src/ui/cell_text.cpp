#include "ui/cell_text.h"

#include "common/windows_1252.h"

namespace larkspin {

std::string FitCellText(const std::string& text, int width, const std::function<int(std::string_view)>& measure,
                        TextEncoding encoding) {
  std::string cell = " " + text + " ";
  if (measure(cell) <= width) return cell;
  const bool utf8 = encoding == TextEncoding::kUtf8;
  while (!cell.empty() && measure(cell + "...") > width) {
    // A UTF-8 character's continuation bytes go together with the byte that starts it.
    while (utf8 && cell.size() > 1 && IsUtf8Continuation(static_cast<unsigned char>(cell.back()))) cell.pop_back();
    cell.pop_back();
  }
  return cell + "...";
}

}  // namespace larkspin
