#include "widgets/percent_progress.h"

#include "ui/dialog.h"

namespace larkspin {

void CPercentProgress::Attach(CDialog& window, int control_id) {
  window_ = &window;
  control_id_ = control_id;
  Update();
}

void CPercentProgress::SetRange(int lower, int upper) {
  state_.lower = lower;
  state_.upper = upper;
  state_.position = lower;
  Update();
}

void CPercentProgress::SetPos(int position) {
  state_.position = position;
  Update();
}

void CPercentProgress::SetStep(int step) { step_ = step; }

void CPercentProgress::StepIt() {
  state_.position += step_;
  Update();
}

void CPercentProgress::SetBarColours(Colour start, Colour end) {
  state_.start_colour = start;
  state_.end_colour = end;
  Update();
}

void CPercentProgress::SetShowText(bool show) {
  state_.show_text = show;
  Update();
}

void CPercentProgress::Update() {
  if (window_) window_->SetProgress(control_id_, state_);
}

}  // namespace larkspin
