#pragma once
// The widget gallery: one of each widget in a real window, for looking at them. The input
// dialog opens from its button; what was typed shows in the title.
#include <functional>

#include "widgets/link_label.h"
#include "widgets/percent_progress.h"
#include "widgets/sizing_dialog.h"
#include "widgets/sorting_list.h"

namespace larkspin {

class CDlgGallery : public CSizingDialog {
 public:
  CDlgGallery();

  // Runs work once, delay_ms after the window has been shown.
  void AfterShown(int delay_ms, std::function<void()> work);

 protected:
  bool OnInitDialog() override;
  void OnShown() override;
  void OnTimer(int id) override;

 private:
  void FillList();
  void FillRichText();
  void AskForInput();

  CLinkLabel link_;
  CSortingList list_;
  CPercentProgress progress_;
  int after_shown_delay_ = 0;
  std::function<void()> after_shown_;
};

}  // namespace larkspin
