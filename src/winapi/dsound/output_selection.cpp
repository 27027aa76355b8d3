#include <cstring>
#include <string>

#include "audio_output.h"

namespace {

constexpr const char kVariable[] = "HALVO_AUDIO_OUTPUT";
constexpr const char kCapturePrefix[] = "capture:";
// The setting's longest text: a few outputs and a capture path.
constexpr DWORD kMaxSetting = 4 * MAX_PATH;

std::unique_ptr<AudioOutput> CreateNamedOutput(const std::string& name)
{
    if (name == "pull") {
        return CreatePullOutput();
    }
    if (name == "silent") {
        return CreateSilentOutput();
    }
    if (name.compare(0, sizeof(kCapturePrefix) - 1, kCapturePrefix) == 0) {
        return CreateCaptureOutput(name.c_str() + sizeof(kCapturePrefix) - 1);
    }
    if (name == "sdl") {
        return CreateSdlOutput();
    }
    return nullptr;
}

}  // namespace

std::unique_ptr<AudioOutput> StartConfiguredOutput(BufferMixer* mixer)
{
    char setting[kMaxSetting] = "";
    const DWORD length = GetEnvironmentVariableA(kVariable, setting, sizeof(setting));
    if (length == 0 || length >= sizeof(setting)) {
        strcpy(setting, "sdl");
    }
    // The outputs named, separated by ',', are tried in order.
    const std::string list = setting;
    for (size_t start = 0; start <= list.size();) {
        size_t end = list.find(',', start);
        end = end == std::string::npos ? list.size() : end;
        std::unique_ptr<AudioOutput> output = CreateNamedOutput(list.substr(start, end - start));
        if (output && output->Start(mixer)) {
            return output;
        }
        start = end + 1;
    }
    std::unique_ptr<AudioOutput> silent = CreateSilentOutput();
    silent->Start(mixer);
    return silent;
}
