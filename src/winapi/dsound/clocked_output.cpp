#include "clocked_output.h"

#include <chrono>

#include "buffer_mixer.h"

namespace {
constexpr DWORD kBlockFrames = 4096;
constexpr auto kPeriod = std::chrono::milliseconds(5);
}  // namespace

bool ClockedOutput::Start(BufferMixer* mixer)
{
    const DWORD rate = mixer->GetOutputRate();
    if (m_started || !Begin(rate)) {
        return false;
    }
    m_started = true;
    m_stop = false;
    m_thread = std::thread(&ClockedOutput::Run, this, mixer, rate);
    return true;
}

void ClockedOutput::Stop()
{
    if (!m_started) {
        return;
    }
    m_stop = true;
    m_thread.join();
    m_started = false;
    Finish();
}

void ClockedOutput::Run(BufferMixer* mixer, DWORD rate)
{
    std::vector<SHORT> block(size_t(kBlockFrames) * 2);
    const auto start = std::chrono::steady_clock::now();
    uint64_t produced = 0;
    while (!m_stop) {
        std::this_thread::sleep_for(kPeriod);
        const auto elapsed =
            std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - start);
        const uint64_t due = uint64_t(elapsed.count()) * rate / 1000000;
        while (produced < due) {
            const DWORD frames = DWORD(due - produced < kBlockFrames ? due - produced : kBlockFrames);
            mixer->Mix(block.data(), frames);
            Consume(block.data(), frames);
            produced += frames;
        }
    }
}
