#pragma once
// The replaceable texts of the compose window: its buttons' captions and tool tips, its labels,
// and the priority selector's entries, each with its language key and built-in default.
#include <vector>

namespace larkspin {

class CDialog;
class CLanguageTable;

struct SendWindowButton {
  int id;
  const char* tip_key;       // [Tooltips]
  const char* tip_default;   // nullptr: "n/a" when the key is missing
  const char* caption_key;   // [Buttons]; nullptr: the caption stays "..."
  const char* caption_default;
};

struct SendWindowLabel {
  int id;
  const char* key;  // [Labels], "n/a" when missing
};

const std::vector<SendWindowButton>& SendWindowButtons();
const std::vector<SendWindowLabel>& SendWindowLabels();

// Fills the priority selector with High, Normal and Low ([Priority]) and selects Normal.
void FillPrioritySelector(CDialog& window, const CLanguageTable& language);

}  // namespace larkspin
