#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "winapi/dsound/dsound_library.h"

// A writer thread refills whichever half of a looping buffer the play cursor
// is not in, as a streaming mixer does, while this thread pulls the output.
// Fill k goes into half k % 2 with the value k + 1; every frame pulled must
// carry the value of the fill its half holds at that time.
TEST(DirectSoundThreads, RefillingTheOtherHalfWhilePullingKeepsEveryFrame)
{
    DSoundLibrary library;
    IDirectSound* sound = library.CreateSoundObject("pull");
    ASSERT_NE(sound, nullptr);
    constexpr DWORD kHalfBytes = 2000;
    constexpr DWORD kHalfFrames = kHalfBytes / 2;
    IDirectSoundBuffer* buffer = library.CreateBuffer(sound, 1, 44100, 2 * kHalfBytes);
    WriteSamples(buffer, 0, std::vector<SHORT>(kHalfFrames, 1));
    std::atomic<int> lastFill{0};
    std::atomic<bool> stop{false};
    ASSERT_EQ(buffer->Play(0, 0, DSBPLAY_LOOPING), DS_OK);
    std::thread writer([&] {
        for (int fill = 1; !stop;) {
            DWORD play = 0;
            buffer->GetCurrentPosition(&play, nullptr);
            const int half = fill % 2;
            if (int(play / kHalfBytes) != half) {
                WriteSamples(buffer, DWORD(half) * kHalfBytes, std::vector<SHORT>(kHalfFrames, SHORT(fill + 1)));
                lastFill = fill++;
            }
            std::this_thread::yield();
        }
    });
    // Each step pulls a quarter of the buffer: step s reads fill s / 2. Before
    // the last quarter of a half is pulled, the writer must have refilled the
    // other half (fill s / 2 + 1), as a mixer refills while the cursor is away.
    for (int step = 0; step < 40; ++step) {
        const int fill = step / 2;
        while (lastFill < (step + 1) / 2) {
            std::this_thread::yield();
        }
        const auto frames = library.Pull(kHalfFrames / 2);
        for (size_t i = 0; i < frames.size(); ++i) {
            ASSERT_EQ(frames[i], fill + 1) << "step " << step << " sample " << i;
        }
    }
    stop = true;
    writer.join();
    buffer->Release();
    sound->Release();
}
