#pragma once
// The main window's progress bar: a colour bar drawn band by band with the percentage on it.
// The control keeps range, step, position and look, passes them to the backend's progress
// control, and PaintPercentProgress says what to draw for them in a given client size.
#include <string>
#include <vector>

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

struct ProgressBand {
  int left = 0;
  int right = 0;
  Colour colour = 0;
  bool operator==(const ProgressBand&) const = default;
};

// What one paint of the bar draws, in order: the bands, then the background from
// background_from to the right edge (when it is below the width), then the text.
struct ProgressPaint {
  std::vector<ProgressBand> bands;
  int background_from = 0;
  Colour background = 0;
  std::string text;  // empty when no text is written
};

ProgressPaint PaintPercentProgress(const ProgressBarState& state, int client_width);

}  // namespace larkspin
