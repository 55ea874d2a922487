#pragma once
// Builds Rich Text Format from plain text and streams it into a rich edit control. A caller
// chains attribute changes and texts, and ends the chain by flushing into the control:
//
//   CRtfStream() << SetSize(20) << SetFont("Arial") << AppendText(text) << SaveAttributes
//                << FlushTo(window, 1024);
//
// Every AppendText writes one complete document header (font table, colour table, run header)
// before its text, so later fragments nest inside earlier ones; FlushTo closes one group.
#include <string>
#include <vector>

#include "ui/geometry.h"

namespace larkspin {

class CDialog;

struct RtfStyle {
  bool on = false;
  std::string on_text;
  std::string off_text;
  const std::string& Text() const { return on ? on_text : off_text; }
};

struct RtfAttributes {
  int size = 35;  // half-points
  RtfStyle bold;
  RtfStyle underline;
  RtfStyle italic;
  RtfStyle strike_through;
  int font_index = 0;
  int foreground_index = 0;
  int background_index = 0;
};

class CRtfStream {
 public:
  CRtfStream();

  CRtfStream& SetSize(int half_points);
  CRtfStream& SetFont(const std::string& face);
  CRtfStream& ColorBlack();
  CRtfStream& ColorBlue();
  CRtfStream& SaveAttributes();
  CRtfStream& AppendText(const std::string& text);
  // Inserts the buffer, closed with "}", into the rich edit control_id of window at its
  // selection, and empties the buffer.
  CRtfStream& FlushTo(CDialog& window, int control_id);

  const std::string& Buffer() const { return buffer_; }
  const std::vector<std::string>& Fonts() const { return fonts_; }
  const RtfAttributes& Attributes() const { return attributes_; }

 private:
  std::string FontTable() const;
  std::string ColourTable() const;
  std::string RunHeader() const;

  std::string buffer_;
  RtfAttributes attributes_;
  std::vector<std::string> fonts_;
  std::vector<Colour> colours_;
  std::vector<RtfAttributes> saved_attributes_;
};

// The chain's operation objects and manipulators.
struct SetSize {
  int half_points;
};
struct SetFont {
  std::string face;
};
struct AppendText {
  std::string text;
};
struct FlushTo {
  CDialog& window;
  int control_id;
};

inline CRtfStream& operator<<(CRtfStream& stream, const SetSize& op) { return stream.SetSize(op.half_points); }
inline CRtfStream& operator<<(CRtfStream& stream, const SetFont& op) { return stream.SetFont(op.face); }
inline CRtfStream& operator<<(CRtfStream& stream, const AppendText& op) { return stream.AppendText(op.text); }
inline CRtfStream& operator<<(CRtfStream& stream, const FlushTo& op) {
  return stream.FlushTo(op.window, op.control_id);
}
inline CRtfStream& operator<<(CRtfStream& stream, CRtfStream& (*manipulator)(CRtfStream&)) {
  return manipulator(stream);
}
// Temporaries start a chain too.
template <typename Op>
CRtfStream& operator<<(CRtfStream&& stream, const Op& op) {
  return stream << op;
}

inline CRtfStream& ColorBlack(CRtfStream& stream) { return stream.ColorBlack(); }
inline CRtfStream& ColorBlue(CRtfStream& stream) { return stream.ColorBlue(); }
inline CRtfStream& SaveAttributes(CRtfStream& stream) { return stream.SaveAttributes(); }

}  // namespace larkspin
