#include "ui/progress_paint.h"

#include <algorithm>
#include <cstdlib>

#include "common/format.h"

namespace larkspin {

namespace {

int BandCount(Colour start, Colour end) {
  const int differences[] = {std::abs(RedOf(end) - RedOf(start)), std::abs(GreenOf(end) - GreenOf(start)),
                             std::abs(BlueOf(end) - BlueOf(start))};
  const int largest_difference = *std::max_element(std::begin(differences), std::end(differences));
  if (start != end) return largest_difference;
  const int largest_component = std::max({RedOf(start), GreenOf(start), BlueOf(start)});
  return largest_component != 0 ? largest_component : 255;
}

uint8_t Blend(uint8_t start, uint8_t end, int i, int bands) {
  return static_cast<uint8_t>(start + (end - start) * i / bands);
}

Colour BandColour(Colour start, Colour end, int i, int bands) {
  if (start == end) return start;
  return Rgb(Blend(RedOf(start), RedOf(end), i, bands), Blend(GreenOf(start), GreenOf(end), i, bands),
             Blend(BlueOf(start), BlueOf(end), i, bands));
}

}  // namespace

ProgressPaint PaintPercentProgress(const ProgressBarState& state, int client_width) {
  ProgressPaint paint;
  paint.background = state.background;
  if (state.position <= state.lower || state.position > state.upper) return paint;  // all background
  if (state.upper <= 0) return paint;  // the fraction position / upper would be meaningless
  const int filled = static_cast<int>(static_cast<double>(state.position) / state.upper * client_width);
  const int bands = BandCount(state.start_colour, state.end_colour);
  const double band_width = static_cast<double>(client_width) / bands;
  paint.background_from = client_width;
  for (int i = 0; i < bands; ++i) {
    const ProgressBand band{static_cast<int>(band_width * i), static_cast<int>(band_width * (i + 1)),
                            BandColour(state.start_colour, state.end_colour, i, bands)};
    paint.bands.push_back(band);
    if (filled < band.right) {
      paint.background_from = band.right;
      break;
    }
  }
  if (state.show_text)
    paint.text = FormatText("%.0f%%", static_cast<double>(state.position) * 100.0 / state.upper);
  return paint;
}

}  // namespace larkspin
