#include "widgets/rtf_stream.h"

#include "common/format.h"
#include "ui/dialog.h"

namespace larkspin {

namespace {
constexpr int kBlackIndex = 0;
constexpr int kBlueIndex = 3;

// Line feeds become a paragraph mark; backslashes and braces are escaped; other bytes stay.
std::string ConvertText(const std::string& text) {
  std::string converted;
  converted.reserve(text.size() + text.size() / 8);
  for (const char c : text) {
    if (c == '\n') {
      converted += "\r\n\\par ";
      continue;
    }
    if (c == '\\' || c == '{' || c == '}') converted += '\\';
    converted += c;
  }
  return converted;
}
}  // namespace

CRtfStream::CRtfStream()
    : fonts_{"Arial"}, colours_{Rgb(0, 0, 0), Rgb(255, 0, 0), Rgb(0, 255, 0), Rgb(0, 0, 255)} {}

CRtfStream& CRtfStream::SetSize(int half_points) {
  attributes_.size = half_points;
  return *this;
}

CRtfStream& CRtfStream::SetFont(const std::string& face) {
  for (size_t i = 0; i < fonts_.size(); ++i) {
    if (fonts_[i] != face) continue;
    attributes_.font_index = static_cast<int>(i);
    return *this;
  }
  fonts_.push_back(face);
  attributes_.font_index = static_cast<int>(fonts_.size() - 1);
  return *this;
}

CRtfStream& CRtfStream::ColorBlack() {
  attributes_.foreground_index = kBlackIndex;
  return *this;
}

CRtfStream& CRtfStream::ColorBlue() {
  attributes_.foreground_index = kBlueIndex;
  return *this;
}

CRtfStream& CRtfStream::SaveAttributes() {
  saved_attributes_.push_back(attributes_);
  return *this;
}

std::string CRtfStream::FontTable() const {
  std::string table = "{\\fonttbl";
  for (size_t i = 0; i < fonts_.size(); ++i) table += FormatText("{\\f%zu %s;}", i, fonts_[i].c_str());
  return table + "}";
}

std::string CRtfStream::ColourTable() const {
  std::string table = "{\\colortbl";
  for (const Colour colour : colours_)
    table += FormatText("\\red%d\\green%d\\blue%d;", RedOf(colour), GreenOf(colour), BlueOf(colour));
  return table + "}";
}

std::string CRtfStream::RunHeader() const {
  const RtfAttributes& a = attributes_;
  return FormatText("\\plain%s%s%s%s\\f%d\\fs%d\\cb%d\\cf%d ", a.bold.Text().c_str(), a.underline.Text().c_str(),
                    a.italic.Text().c_str(), a.strike_through.Text().c_str(), a.font_index, a.size,
                    a.background_index, a.foreground_index);
}

CRtfStream& CRtfStream::AppendText(const std::string& text) {
  buffer_ += "{\\rtf1\\ansi\\ansicpg1252\\deff0\\deftab720";
  buffer_ += FontTable();
  buffer_ += ColourTable();
  buffer_ += RunHeader();
  buffer_ += ConvertText(text);
  return *this;
}

CRtfStream& CRtfStream::FlushTo(CDialog& window, int control_id) {
  buffer_ += "}";
  window.ReplaceSelectionWithRtf(control_id, buffer_);
  buffer_.clear();
  return *this;
}

}  // namespace larkspin
