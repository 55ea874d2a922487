#include "main_window/new_mail_sound.h"

#include "platform/file_system.h"
#include "platform/program_start.h"
#include "ui/backend.h"

namespace larkspin {

namespace {
constexpr int kNewMailToneHz = 15000;
constexpr int kNewMailToneMs = 60000;

// Runs the player on path and waits for it; true when it played the file.
bool RunPlayer(const char* player, const std::string& path) { return RunProgram(player, path, true) == 0; }
}  // namespace

void CDesktopSound::PlayWaveFile(const std::string& path) {
  if (RunPlayer("paplay", path) || RunPlayer("aplay", path)) return;
  Tone(kNewMailToneHz, kNewMailToneMs);
}

void CDesktopSound::Tone(int /*frequency_hz*/, int /*duration_ms*/) {
  // The desktop has no tone generator of its own; its bell stands for the tone.
  RunOnUiThread([] { UiBackend().WarningBeep(); });
}

void PlayNewMailSound(CSoundOutput& sound) {
  if (FileExists(kNewMailWaveFile)) sound.PlayWaveFile(kNewMailWaveFile);
  else sound.Tone(kNewMailToneHz, kNewMailToneMs);
}

}  // namespace larkspin
