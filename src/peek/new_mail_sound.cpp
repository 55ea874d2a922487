#include "peek/new_mail_sound.h"

#include <spawn.h>
#include <sys/wait.h>

#include "platform/file_system.h"
#include "ui/backend.h"

extern char** environ;

namespace larkspin {

namespace {
constexpr int kNewMailToneHz = 15000;
constexpr int kNewMailToneMs = 60000;

// Runs the player on path and waits for it; true when it played the file.
bool RunPlayer(const char* player, const std::string& path) {
  const char* argv[] = {player, path.c_str(), nullptr};
  pid_t child = 0;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", 0, 0);
  posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", 0, 0);
  const int spawned = posix_spawnp(&child, player, &actions, nullptr, const_cast<char**>(argv), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (spawned != 0) return false;
  int status = 0;
  if (waitpid(child, &status, 0) < 0) return false;
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}
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
