#include "ui/rtf_reader.h"

#include <cctype>
#include <map>
#include <optional>

namespace larkspin {

namespace {

enum class Destination { kText, kFontTable, kColourTable, kSkip };

struct GroupState {
  Destination destination = Destination::kText;
  int font = 0;
  int half_points = 24;
  int foreground = -1;  // colour table index, -1 for the default
};

struct ControlWord {
  std::string word;
  std::optional<int> parameter;
};

class CRtfParser {
 public:
  explicit CRtfParser(std::string_view rtf) : rtf_(rtf) {}

  std::vector<RichTextRun> Parse() {
    while (at_ < rtf_.size()) Step();
    return std::move(runs_);
  }

 private:
  void Step() {
    const char c = rtf_[at_];
    if (c == '{') {
      ++at_;
      groups_.push_back(State());
    } else if (c == '}') {
      ++at_;
      EndGroup();
    } else if (c == '\\') {
      ++at_;
      ReadControl();
    } else {
      ++at_;
      if (c != '\r' && c != '\n') Character(c);
    }
  }

  GroupState& State() {
    if (groups_.empty()) groups_.push_back(GroupState());
    return groups_.back();
  }

  void EndGroup() {
    if (State().destination == Destination::kFontTable) FinishFontName();
    if (!groups_.empty()) groups_.pop_back();
  }

  void ReadControl() {
    if (at_ >= rtf_.size()) return;
    const char c = rtf_[at_];
    if (c == '\\' || c == '{' || c == '}') {
      ++at_;
      Character(c);
    } else if (c == '\'') {
      ++at_;
      Character(static_cast<char>(ReadHexByte()));
    } else if (c == '*') {
      ++at_;
      State().destination = Destination::kSkip;
    } else if (c == '\r' || c == '\n') {
      ++at_;
      Paragraph();
    } else if (std::isalpha(static_cast<unsigned char>(c))) {
      Apply(ReadWord());
    } else {
      ++at_;  // other control symbols carry nothing shown here
    }
  }

  int ReadHexByte() {
    int value = 0;
    for (int digits = 0; digits < 2 && at_ < rtf_.size(); ++digits, ++at_) {
      const int c = std::tolower(static_cast<unsigned char>(rtf_[at_]));
      if (!std::isxdigit(c)) break;
      value = value * 16 + (std::isdigit(c) ? c - '0' : c - 'a' + 10);
    }
    return value;
  }

  ControlWord ReadWord() {
    ControlWord control;
    while (at_ < rtf_.size() && std::isalpha(static_cast<unsigned char>(rtf_[at_]))) control.word += rtf_[at_++];
    bool negative = false;
    if (at_ < rtf_.size() && rtf_[at_] == '-') {
      negative = true;
      ++at_;
    }
    if (at_ < rtf_.size() && std::isdigit(static_cast<unsigned char>(rtf_[at_]))) {
      long value = 0;
      while (at_ < rtf_.size() && std::isdigit(static_cast<unsigned char>(rtf_[at_]))) {
        if (value < 100000000) value = value * 10 + (rtf_[at_] - '0');
        ++at_;
      }
      control.parameter = static_cast<int>(negative ? -value : value);
    }
    if (at_ < rtf_.size() && rtf_[at_] == ' ') ++at_;  // the delimiting blank belongs to the word
    return control;
  }

  void Apply(const ControlWord& control) {
    GroupState& state = State();
    const int value = control.parameter.value_or(0);
    const std::string& word = control.word;
    if (word == "fonttbl") state.destination = Destination::kFontTable;
    else if (word == "colortbl") StartColourTable();
    else if (state.destination == Destination::kFontTable) ApplyInFontTable(word, value);
    else if (state.destination == Destination::kColourTable) ApplyInColourTable(word, value);
    else if (word == "plain") ResetCharacterFormat(state);
    else if (word == "f") state.font = value;
    else if (word == "fs") state.half_points = value;
    else if (word == "cf") state.foreground = value;
    // \cb (character background) is read past: rich edit controls ignore it, and the documents
    // written here say \cb0, which would be black under black text.
    else if (word == "par" || word == "line") Paragraph();
    else if (word == "tab") Character('\t');
  }

  static void ResetCharacterFormat(GroupState& state) {
    state.font = 0;
    state.half_points = 24;
    state.foreground = -1;
  }

  void ApplyInFontTable(const std::string& word, int value) {
    if (word == "f") {
      FinishFontName();
      font_being_named_ = value;
      font_name_.clear();
    }
  }

  void FinishFontName() {
    if (font_being_named_ < 0) return;
    fonts_[font_being_named_] = font_name_;
    font_being_named_ = -1;
  }

  void StartColourTable() {
    State().destination = Destination::kColourTable;
    colours_.clear();
    pending_colour_ = 0;
  }

  void ApplyInColourTable(const std::string& word, int value) {
    const uint8_t component = static_cast<uint8_t>(value);
    if (word == "red") pending_colour_ = (pending_colour_ & ~Colour{0xFF}) | component;
    else if (word == "green") pending_colour_ = (pending_colour_ & ~(Colour{0xFF} << 8)) | (Colour{component} << 8);
    else if (word == "blue") pending_colour_ = (pending_colour_ & ~(Colour{0xFF} << 16)) | (Colour{component} << 16);
  }

  void Character(char c) {
    GroupState& state = State();
    switch (state.destination) {
      case Destination::kText:
        Emit(std::string(1, c));
        break;
      case Destination::kFontTable:
        if (c == ';') FinishFontName();
        else if (font_being_named_ >= 0) font_name_ += c;
        break;
      case Destination::kColourTable:
        if (c == ';') {
          colours_.push_back(pending_colour_);
          pending_colour_ = 0;
        }
        break;
      case Destination::kSkip:
        break;
    }
  }

  void Paragraph() {
    if (State().destination == Destination::kText) Emit("\r\n");
  }

  Colour ColourAt(int index, Colour fallback) const {
    return index >= 0 && static_cast<size_t>(index) < colours_.size() ? colours_[static_cast<size_t>(index)] : fallback;
  }

  void Emit(const std::string& text) {
    const GroupState& state = State();
    RichTextRun run;
    const auto font = fonts_.find(state.font);
    run.face = font != fonts_.end() ? font->second : std::string();
    run.half_points = state.half_points;
    run.colour = ColourAt(state.foreground, Rgb(0, 0, 0));
    if (!runs_.empty() && SameLook(runs_.back(), run)) {
      runs_.back().text += text;
      return;
    }
    run.text = text;
    runs_.push_back(std::move(run));
  }

  static bool SameLook(const RichTextRun& a, const RichTextRun& b) {
    return a.face == b.face && a.half_points == b.half_points && a.colour == b.colour;
  }

  std::string_view rtf_;
  size_t at_ = 0;
  std::vector<GroupState> groups_;
  std::map<int, std::string> fonts_;
  int font_being_named_ = -1;
  std::string font_name_;
  std::vector<Colour> colours_;
  Colour pending_colour_ = 0;
  std::vector<RichTextRun> runs_;
};

}  // namespace

std::vector<RichTextRun> ReadRtf(std::string_view rtf) { return CRtfParser(rtf).Parse(); }

std::string PlainTextOf(const std::vector<RichTextRun>& runs) {
  std::string text;
  for (const RichTextRun& run : runs) text += run.text;
  return text;
}

}  // namespace larkspin
