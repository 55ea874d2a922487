#include "mailbox/section_decoder.h"

#include <algorithm>
#include <optional>
#include <string_view>

#include "config/log.h"
#include "common/format.h"
#include "common/string_tools.h"
#include "mailbox/attachment_name.h"
#include "mailbox/line_pieces.h"
#include "mailbox/section_lines.h"
#include "mailbox/section_output.h"
#include "mime/base64.h"

namespace larkspin {

namespace {
// In a section's data, a line that starts with LF or with a byte below "+" (bytes from 128 up
// included) ends the section.
bool EndsDataSection(std::string_view line) {
  if (line.empty()) return true;
  const auto first = static_cast<unsigned char>(line.front());
  return first < '+' || first >= 0x80;
}

class CSectionDecoder {
 public:
  CSectionDecoder(const std::string& input_path, const std::string& output_folder, std::vector<std::string>& names)
      : input_path_(input_path), output_folder_(output_folder), names_(names) {}

  SectionSplit Run();

 private:
  enum class Mode { kHeaders, kData };
  enum class Flow { kGoOn, kStop };

  Flow HandleLine(std::string_view line);
  void HandleHeaderLine(std::string_view line);
  void StartSectionOutput();
  void OpenNamedOutput(const std::string& name);
  // Decodes the line's base64 up to LF or a blank; false when "=" or another byte outside the
  // alphabet ended the section's data on this line.
  bool DecodeLine(std::string_view line);
  void EndSection();
  void EndInput();

  const std::string& input_path_;
  const std::string& output_folder_;
  std::vector<std::string>& names_;
  CSectionOutput output_;
  std::string output_path_;

  // State of the current section.
  std::string section_name_;
  Mode mode_ = Mode::kHeaders;
  bool first_data_ = true;
  bool in_content_type_run_ = false;
  CBase64Decoder base64_;
  std::string decoded_;  // the bytes of one line, kept to reuse its buffer

  // Survives sections: set by a Content-Transfer-Encoding that does not name base64.
  bool not_base64_ = false;
  // Cleared once a named section could not be stored or the decoder stopped early.
  bool whole_ = true;
};

SectionSplit CSectionDecoder::Run() {
  CLinePieceReader reader;
  if (!reader.Open(input_path_)) return {-1, false};
  output_.OpenDiscard();
  std::string piece;
  while (reader.Next(piece)) {
    // A NUL ends the line as far as the scanner is concerned.
    const std::string_view line(piece.data(), std::min(piece.size(), piece.find('\0')));
    if (HandleLine(line) == Flow::kStop) return {static_cast<int>(names_.size()), false};
  }
  EndInput();
  return {static_cast<int>(names_.size()), whole_};
}

CSectionDecoder::Flow CSectionDecoder::HandleLine(std::string_view line) {
  if (mode_ == Mode::kHeaders) {
    if (ClassifySectionLine(line) != SectionLineKind::kData) {
      HandleHeaderLine(line);
      return Flow::kGoOn;
    }
    mode_ = Mode::kData;
    in_content_type_run_ = false;
    if (not_base64_) return Flow::kGoOn;
  } else if (EndsDataSection(line)) {
    if (base64_.HasPendingBits())
      LogEvent(FormatText("Unexpected end of section in '%s'. Last few bytes may have been lost",
                          section_name_.c_str()));
    EndSection();
    return Flow::kGoOn;
  }
  if (first_data_) {
    first_data_ = false;
    StartSectionOutput();
  }
  if (!output_.IsOpen()) {
    LogEvent("No filename given for subsequent section. Stop Decoding.");
    return Flow::kStop;
  }
  if (!DecodeLine(line)) EndSection();
  return Flow::kGoOn;
}

void CSectionDecoder::HandleHeaderLine(std::string_view line) {
  const std::vector<std::string_view> words = HeaderWords(line);
  const std::string_view first_word = words.empty() ? std::string_view() : words.front();
  if (MatchesKeyword(first_word, "Content-Transfer-Encoding")) {
    in_content_type_run_ = false;
    not_base64_ = std::none_of(words.begin() + 1, words.end(),
                               [](std::string_view word) { return MatchesKeyword(word, "base64"); });
    return;
  }
  if (MatchesKeyword(first_word, "Content-Type")) in_content_type_run_ = true;
  if (!in_content_type_run_) return;
  std::string name = NameParameter(words);
  if (!name.empty()) section_name_ = std::move(name);
}

void CSectionDecoder::StartSectionOutput() {
  if (not_base64_) {
    LogEvent(FormatText("Section %s not MIME base64", section_name_.c_str()));
    return;
  }
  if (section_name_.empty()) return;
  const std::string name = SafeAttachmentName(section_name_);
  if (name != section_name_)
    LogEvent(FormatText("Attachment name '%s' made safe as '%s'", section_name_.c_str(), name.c_str()));
  OpenNamedOutput(name);
}

// A file that cannot be created loses this section only: its data goes nowhere and the decoder
// goes on with the next section.
void CSectionDecoder::OpenNamedOutput(const std::string& name) {
  // The section keeps the output it has: the scratch sink in the first section, none later.
  if (EqualsIgnoringCase(name, input_path_)) {
    names_.push_back(name);
    LogEvent(FormatText("Creating file '%s'", name.c_str()));
    LogEvent("No output file given or output same as input");
    return;
  }
  std::optional<std::string> created = output_.OpenNewFile(output_folder_, name);
  if (!created) {
    LogEvent(FormatText("Couldn't open %s for output", (output_folder_ + name).c_str()));
    whole_ = false;
    output_.OpenDiscard();
    return;
  }
  LogEvent(FormatText("Creating file '%s'", created->c_str()));
  output_path_ = output_folder_ + *created;
  names_.push_back(std::move(*created));
}

bool CSectionDecoder::DecodeLine(std::string_view line) {
  const std::string_view data = line.substr(0, line.find_first_of("\n "));
  decoded_.clear();
  const bool section_goes_on = base64_.DecodeRun(data, decoded_) == data.size();
  output_.Write(decoded_);
  return section_goes_on;
}

void CSectionDecoder::EndSection() {
  if (!output_.Close()) {
    LogEvent(FormatText("Couldn't write all of %s", output_path_.c_str()));
    whole_ = false;
  }
  if (!section_name_.empty() && mode_ == Mode::kHeaders)
    LogEvent(FormatText("No MIME base64 lines found in %s", section_name_.c_str()));
  section_name_.clear();
  mode_ = Mode::kHeaders;
  first_data_ = true;
  in_content_type_run_ = false;
  base64_ = CBase64Decoder();
}

void CSectionDecoder::EndInput() {
  if (mode_ == Mode::kData && !section_name_.empty() && base64_.HasPendingBits())
    LogEvent(FormatText("Unexpected end of file encountered in '%s'. Last few bytes may have been lost.",
                        section_name_.c_str()));
  EndSection();
}
}  // namespace

SectionSplit DecodeBase64Sections(const std::string& input_path, const std::string& output_folder,
                                  std::vector<std::string>& names) {
  return CSectionDecoder(input_path, output_folder, names).Run();
}

}  // namespace larkspin
