#include <string>

#include "clocked_output.h"
#include "wav_file_writer.h"

namespace {

// Mixes in real time into a WAV file; each start begins the file anew, and
// the file appears complete under its name once the output stops.
class CaptureOutput final : public ClockedOutput {
public:
    explicit CaptureOutput(const char* path) : m_path(path) {}
    ~CaptureOutput() override { Stop(); }
    const char* GetName() const override { return "capture"; }

protected:
    bool Begin(DWORD rate) override { return m_writer.Open(m_path.c_str(), rate); }
    void Consume(const SHORT* frames, DWORD frameCount) override { m_writer.Write(frames, frameCount); }
    void Finish() override { m_writer.Close(); }

private:
    std::string m_path;
    WavFileWriter m_writer;  // used by the output thread between Begin and Finish
};

}  // namespace

std::unique_ptr<AudioOutput> CreateCaptureOutput(const char* path) { return std::make_unique<CaptureOutput>(path); }
