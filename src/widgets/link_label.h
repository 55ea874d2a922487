#pragma once
// A static text that shows a web address in link colours, carries the address as its tool tip
// and opens it when clicked. A failed open sounds the warning beep and shows the shell's error
// text; the label then counts as not visited.
#include <functional>
#include <string>

#include "ui/geometry.h"

namespace larkspin {

class CDialog;

class CLinkLabel {
 public:
  using Opener = std::function<int(const std::string& address)>;

  CLinkLabel();

  // Attaches to the static control_id of window: an empty address takes the control's text, an
  // empty text shows the address; clicks on the control open the address. The control is made
  // exactly as large as its text from its top-left corner, so only the text opens the address.
  void Attach(CDialog& window, int control_id);
  void SetLinkAddress(const std::string& address);
  void SetVisitedState(bool visited);
  // The click: opens the address and reports a failure.
  void Open();

  const std::string& Address() const { return address_; }
  bool Visited() const { return visited_; }
  // For tests and other platforms: how addresses are opened (by default the desktop's opener,
  // not waited for; a failure it reports after it started comes as a message box of its own).
  void SetOpener(Opener opener) { opener_ = std::move(opener); }

 private:
  void UpdateLook();
  void FitToText();

  CDialog* window_ = nullptr;
  int control_id_ = 0;
  std::string address_;
  Colour link_colour_ = Rgb(0, 0, 238);
  Colour visited_colour_ = Rgb(85, 26, 139);
  bool visited_ = false;
  bool underline_ = true;
  Opener opener_;
};

}  // namespace larkspin
