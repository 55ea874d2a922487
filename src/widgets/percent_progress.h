#pragma once
// The main window's progress bar: a colour bar drawn band by band with the percentage on it.
// The control keeps range, step, position and look and passes them to the backend's progress
// control, which paints them as ui/progress_paint.h says.
#include "ui/control_state.h"

namespace larkspin {

class CDialog;

class CPercentProgress {
 public:
  void Attach(CDialog& window, int control_id);

  void SetRange(int lower, int upper);
  void SetPos(int position);
  void SetStep(int step);
  void StepIt();
  void SetBarColours(Colour start, Colour end);
  void SetShowText(bool show);

  const ProgressBarState& State() const { return state_; }
  int Step() const { return step_; }

 private:
  void Update();

  CDialog* window_ = nullptr;
  int control_id_ = 0;
  ProgressBarState state_;
  int step_ = 10;
};

}  // namespace larkspin
