#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "audio/decoders/mixer_sample.h"
#include "support/log_capture.h"
#include "support/temporary_folder.h"

// Helpers shared by the audio tests: sound files made by the real encoders
// (sox, oggenc, oggdec) in the rig's temporary folders.
namespace audio_test {

// A temporary folder that is the "res://" folder and the only search path, so
// that sound names are found in it (the rig resets the file system after the test).
class ResourceFolder : public TemporaryFolder {
public:
    ResourceFolder();
};

// Runs a shell command; fails the current test when it does not exit with 0.
void Run(const std::string& command);

// sox -n with the given format and synth arguments, e.g. MakeWav(path, 44100, 2, "0.5 sine 441").
void MakeWav(const std::string& path, int rate, int channels, const std::string& synth, int bits = 16);
// A WAV made as above, encoded by oggenc into path.
void MakeOgg(const std::string& path, int rate, int channels, const std::string& synth);
// The 16-bit little-endian PCM that oggdec decodes the file into.
std::vector<uint8_t> DecodeOggWithOggdec(const std::string& oggPath);
// The 16-bit little-endian PCM that sox reads from a sound file.
std::vector<uint8_t> RawPcmWithSox(const std::string& soundPath);

std::vector<uint8_t> ReadBytes(const std::string& path);
void WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes);
void WriteText(const std::string& path, const std::string& text);

// A decoders' sample, destroyed with the test.
struct SampleDeleter {
    void operator()(HV_MixerSample* sample) const { HVI_DestroyMixerSample(sample); }
};
using SamplePtr = std::unique_ptr<HV_MixerSample, SampleDeleter>;

}  // namespace audio_test
