#pragma once
// The new-mail sound: the wave file ".\larkspin.wav" when it exists, otherwise a tone. Played
// through CSoundOutput so that tests can listen instead of the speakers.
#include <string>

namespace larkspin {

inline constexpr const char* kNewMailWaveFile = "larkspin.wav";

class CSoundOutput {
 public:
  virtual ~CSoundOutput() = default;
  // Plays the wave file and returns when it has ended.
  virtual void PlayWaveFile(const std::string& path) = 0;
  virtual void Tone(int frequency_hz, int duration_ms) = 0;
};

// The desktop's sound: the wave file through paplay or aplay, whichever is installed; the tone,
// and a wave file that no player could play, as the desktop bell.
class CDesktopSound : public CSoundOutput {
 public:
  void PlayWaveFile(const std::string& path) override;
  void Tone(int frequency_hz, int duration_ms) override;
};

// The wave file when it exists (and is not a folder), otherwise a tone of 15000 Hz for 60000 ms.
void PlayNewMailSound(CSoundOutput& sound);

}  // namespace larkspin
