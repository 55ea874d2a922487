#pragma once
// Control settings that window code hands to the backend as a whole.
#include <string>

#include "ui/geometry.h"

namespace larkspin {

// System colours a backend answers with its own theme's values.
inline constexpr Colour kButtonFaceColour = Rgb(240, 240, 240);
inline constexpr Colour kWindowColour = Rgb(255, 255, 255);
inline constexpr Colour kWindowTextColour = Rgb(0, 0, 0);

// Everything a percentage progress bar draws from.
struct ProgressBarState {
  int lower = 0;
  int upper = 100;
  int position = 0;
  Colour start_colour = Rgb(255, 0, 0);
  Colour end_colour = Rgb(0, 0, 255);
  Colour background = kButtonFaceColour;
  bool show_text = false;
  Colour text_colour = Rgb(255, 255, 255);
  bool operator==(const ProgressBarState&) const = default;
};

// How a hyperlink static text is drawn.
struct LinkLook {
  Colour colour = Rgb(0, 0, 238);
  bool underline = true;
  bool operator==(const LinkLook&) const = default;
};

}  // namespace larkspin
