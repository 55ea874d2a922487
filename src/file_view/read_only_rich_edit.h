#pragma once
// The rich edit control of the message view: attached to its dialog control it takes the
// button-face background and becomes disabled and read-only; the window enables it again so that
// its text can be scrolled, selected and copied, but never typed into.
namespace larkspin {

class CDialog;

class CReadOnlyRichEdit {
 public:
  // False when window has no control_id.
  bool Attach(CDialog& window, int control_id);
};

}  // namespace larkspin
