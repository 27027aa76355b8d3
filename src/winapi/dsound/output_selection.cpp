#include <cstring>

#include "audio_output.h"

namespace {

constexpr const char kVariable[] = "HALVO_AUDIO_OUTPUT";
constexpr const char kCapturePrefix[] = "capture:";

std::unique_ptr<AudioOutput> CreateNamedOutput(const char* setting) {
  if (strcmp(setting, "pull") == 0) {
    return CreatePullOutput();
  }
  if (strcmp(setting, "silent") == 0) {
    return CreateSilentOutput();
  }
  if (strncmp(setting, kCapturePrefix, sizeof(kCapturePrefix) - 1) == 0) {
    return CreateCaptureOutput(setting + sizeof(kCapturePrefix) - 1);
  }
  return CreateSdlOutput();
}

}  // namespace

std::unique_ptr<AudioOutput> StartConfiguredOutput(BufferMixer* mixer) {
  char setting[MAX_PATH + sizeof(kCapturePrefix)] = "sdl";
  const DWORD length = GetEnvironmentVariableA(kVariable, setting, sizeof(setting));
  if (length == 0 || length >= sizeof(setting)) {
    strcpy(setting, "sdl");
  }
  std::unique_ptr<AudioOutput> output = CreateNamedOutput(setting);
  if (output->Start(mixer)) {
    return output;
  }
  output = CreateSilentOutput();
  output->Start(mixer);
  return output;
}
