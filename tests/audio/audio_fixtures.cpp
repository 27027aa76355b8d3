#include "audio/audio_fixtures.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>

#include "filesystem/scheme_roots.h"

namespace audio_test {

ResourceFolder::ResourceFolder()
{
    HVI_SetSchemeRoot(HV_PATH_SCHEME_RES, Path().c_str());
    HVI_AddSearchPath("res://");
}

void Run(const std::string& command)
{
    const int status = std::system((command + " 2>&1").c_str());
    ASSERT_EQ(status, 0) << command;
}

void MakeWav(const std::string& path, int rate, int channels, const std::string& synth, int bits)
{
    const std::string format = "-r " + std::to_string(rate) + " -c " + std::to_string(channels);
    const std::string encoding = bits == 8 ? "unsigned-integer" : "signed-integer";
    Run("sox -D -V1 " + format + " -n " + format + " -b " + std::to_string(bits) + " -e " + encoding + " -t wav '" +
        path + "' synth " + synth);
}

void MakeOgg(const std::string& path, int rate, int channels, const std::string& synth)
{
    const std::string wav = path + ".source.wav";
    MakeWav(wav, rate, channels, synth);
    Run("oggenc -Q -o '" + path + "' '" + wav + "'");
}

std::vector<uint8_t> DecodeOggWithOggdec(const std::string& oggPath)
{
    const std::string raw = oggPath + ".oggdec.raw";
    Run("oggdec -Q -R -b 16 -e 0 -s 1 -o '" + raw + "' '" + oggPath + "'");
    return ReadBytes(raw);
}

std::vector<uint8_t> RawPcmWithSox(const std::string& soundPath)
{
    const std::string raw = soundPath + ".sox.raw";
    Run("sox -D -V1 '" + soundPath + "' -t raw -b 16 -e signed-integer -L '" + raw + "'");
    return ReadBytes(raw);
}

std::vector<uint8_t> ReadBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes)
{
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

void WriteText(const std::string& path, const std::string& text)
{
    std::ofstream out(path, std::ios::binary);
    out << text;
}

}  // namespace audio_test
