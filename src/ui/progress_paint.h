#pragma once
// How a backend paints the percentage progress bar: a colour bar drawn band by band with the
// percentage on it, for a given state and client width.
#include <string>
#include <vector>

#include "ui/control_state.h"

namespace larkspin {

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
