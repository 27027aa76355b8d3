#include <gtest/gtest.h>

#include "winapi/dsound/dsound_library.h"

namespace {

class SecondaryBufferTest : public testing::Test {
protected:
    void SetUp() override
    {
        sound = library.CreateSoundObject("pull");
        ASSERT_NE(sound, nullptr);
        buffer = library.CreateBuffer(sound, 2, 44100, 1000);
        ASSERT_NE(buffer, nullptr);
    }
    void TearDown() override
    {
        if (buffer) {
            buffer->Release();
        }
        if (sound) {
            sound->Release();
        }
    }

    DSoundLibrary library;
    IDirectSound* sound = nullptr;
    IDirectSoundBuffer* buffer = nullptr;
};

DSBUFFERDESC Description(WAVEFORMATEX* format, DWORD bytes, DWORD flags = DSBCAPS_CTRLVOLUME)
{
    DSBUFFERDESC description = {};
    description.dwSize = sizeof(description);
    description.dwFlags = flags;
    description.dwBufferBytes = bytes;
    description.lpwfxFormat = format;
    return description;
}

}  // namespace

TEST_F(SecondaryBufferTest, RefusesVolumePanAndFrequencyOutsideTheirRanges)
{
    EXPECT_EQ(buffer->SetVolume(DSBVOLUME_MIN), DS_OK);
    EXPECT_EQ(buffer->SetVolume(DSBVOLUME_MAX), DS_OK);
    EXPECT_EQ(buffer->SetVolume(-10001), DSERR_INVALIDPARAM);
    EXPECT_EQ(buffer->SetVolume(1), DSERR_INVALIDPARAM);
    LONG volume = 5;
    ASSERT_EQ(buffer->GetVolume(&volume), DS_OK);
    EXPECT_EQ(volume, 0);
    EXPECT_EQ(buffer->SetPan(DSBPAN_LEFT), DS_OK);
    EXPECT_EQ(buffer->SetPan(DSBPAN_RIGHT), DS_OK);
    EXPECT_EQ(buffer->SetPan(10001), DSERR_INVALIDPARAM);
    EXPECT_EQ(buffer->SetPan(-10001), DSERR_INVALIDPARAM);
    LONG pan = 0;
    ASSERT_EQ(buffer->GetPan(&pan), DS_OK);
    EXPECT_EQ(pan, DSBPAN_RIGHT);
    EXPECT_EQ(buffer->SetFrequency(DSBFREQUENCY_MIN), DS_OK);
    EXPECT_EQ(buffer->SetFrequency(DSBFREQUENCY_MAX), DS_OK);
    EXPECT_EQ(buffer->SetFrequency(99), DSERR_INVALIDPARAM);
    EXPECT_EQ(buffer->SetFrequency(200001), DSERR_INVALIDPARAM);
    DWORD frequency = 0;
    ASSERT_EQ(buffer->GetFrequency(&frequency), DS_OK);
    EXPECT_EQ(frequency, 200000u);
    ASSERT_EQ(buffer->SetFrequency(DSBFREQUENCY_ORIGINAL), DS_OK);
    ASSERT_EQ(buffer->GetFrequency(&frequency), DS_OK);
    EXPECT_EQ(frequency, 44100u);
}

TEST_F(SecondaryBufferTest, RefusesUnsupportedFormatsAndSizesAndControlsNotAskedFor)
{
    WAVEFORMATEX format = PcmFormat(1, 22050);
    DSBUFFERDESC description = Description(&format, 100, 0);
    IDirectSoundBuffer* plain = nullptr;
    ASSERT_EQ(sound->CreateSoundBuffer(&description, &plain, nullptr), DS_OK);
    EXPECT_EQ(plain->SetVolume(-100), DSERR_CONTROLUNAVAIL);
    EXPECT_EQ(plain->SetPan(100), DSERR_CONTROLUNAVAIL);
    EXPECT_EQ(plain->SetFrequency(1000), DSERR_CONTROLUNAVAIL);
    plain->Release();
    IDirectSoundBuffer* created = nullptr;
    WAVEFORMATEX six = PcmFormat(2, 44100);
    six.nChannels = 6;
    six.nBlockAlign = 12;
    six.nAvgBytesPerSec = 44100 * 12;
    description = Description(&six, 1200);
    EXPECT_EQ(sound->CreateSoundBuffer(&description, &created, nullptr), DSERR_BADFORMAT);
    WAVEFORMATEX slow = PcmFormat(1, 99);
    description = Description(&slow, 100);
    EXPECT_EQ(sound->CreateSoundBuffer(&description, &created, nullptr), DSERR_BADFORMAT);
    WAVEFORMATEX good = PcmFormat(1, 22050);
    description = Description(&good, 3);
    EXPECT_EQ(sound->CreateSoundBuffer(&description, &created, nullptr), DSERR_INVALIDPARAM);
    description = Description(nullptr, 100);
    EXPECT_EQ(sound->CreateSoundBuffer(&description, &created, nullptr), DSERR_INVALIDPARAM);
    description = Description(&good, 100);
    description.dwSize = 7;
    EXPECT_EQ(sound->CreateSoundBuffer(&description, &created, nullptr), DSERR_INVALIDPARAM);
    EXPECT_EQ(created, nullptr);
}

TEST_F(SecondaryBufferTest, LockWrapsAroundTheEndAndRefusesRegionsOutsideTheBuffer)
{
    void* first = nullptr;
    void* second = nullptr;
    DWORD firstBytes = 0;
    DWORD secondBytes = 0;
    ASSERT_EQ(buffer->Lock(800, 400, &first, &firstBytes, &second, &secondBytes, 0), DS_OK);
    EXPECT_EQ(firstBytes, 200u);
    EXPECT_EQ(secondBytes, 200u);
    EXPECT_EQ(static_cast<uint8_t*>(first) - static_cast<uint8_t*>(second), 800);
    EXPECT_EQ(buffer->Unlock(first, firstBytes, second, secondBytes), DS_OK);
    ASSERT_EQ(buffer->Lock(0, 0, &first, &firstBytes, &second, &secondBytes, DSBLOCK_ENTIREBUFFER), DS_OK);
    EXPECT_EQ(firstBytes, 1000u);
    EXPECT_EQ(second, nullptr);
    EXPECT_EQ(secondBytes, 0u);
    EXPECT_EQ(buffer->Unlock(first, firstBytes, nullptr, 0), DS_OK);
    EXPECT_EQ(buffer->Lock(1000, 4, &first, &firstBytes, nullptr, nullptr, 0), DSERR_INVALIDPARAM);
    EXPECT_EQ(buffer->Lock(0, 1004, &first, &firstBytes, nullptr, nullptr, 0), DSERR_INVALIDPARAM);
    EXPECT_EQ(buffer->Lock(0, 0, &first, &firstBytes, nullptr, nullptr, 0), DSERR_INVALIDPARAM);
    char elsewhere[16];
    EXPECT_EQ(buffer->Unlock(elsewhere, 16, nullptr, 0), DSERR_INVALIDPARAM);
}

TEST_F(SecondaryBufferTest, CursorsMoveOnlyWhilePlayingAndPlayingOnceStopsAtTheEnd)
{
    DWORD play = 1;
    DWORD write = 1;
    library.Pull(10);
    ASSERT_EQ(buffer->GetCurrentPosition(&play, &write), DS_OK);
    EXPECT_EQ(play, 0u);
    ASSERT_EQ(buffer->Play(0, 0, DSBPLAY_LOOPING), DS_OK);
    DWORD status = 0;
    ASSERT_EQ(buffer->GetStatus(&status), DS_OK);
    EXPECT_EQ(status, DWORD(DSBSTATUS_PLAYING | DSBSTATUS_LOOPING));
    library.Pull(10);
    ASSERT_EQ(buffer->GetCurrentPosition(&play, &write), DS_OK);
    EXPECT_EQ(play, 40u);
    EXPECT_EQ(write, 40u);
    ASSERT_EQ(buffer->Stop(), DS_OK);
    library.Pull(10);
    ASSERT_EQ(buffer->GetCurrentPosition(&play, nullptr), DS_OK);
    EXPECT_EQ(play, 40u);
    ASSERT_EQ(buffer->SetCurrentPosition(996), DS_OK);
    ASSERT_EQ(buffer->GetCurrentPosition(&play, nullptr), DS_OK);
    EXPECT_EQ(play, 996u);
    EXPECT_EQ(buffer->SetCurrentPosition(1000), DSERR_INVALIDPARAM);
    // Played once from the start, it stops at the end of its 250 frames.
    ASSERT_EQ(buffer->SetCurrentPosition(0), DS_OK);
    ASSERT_EQ(buffer->Play(0, 0, 0), DS_OK);
    library.Pull(249);
    ASSERT_EQ(buffer->GetStatus(&status), DS_OK);
    EXPECT_EQ(status, DWORD(DSBSTATUS_PLAYING));
    library.Pull(2);
    ASSERT_EQ(buffer->GetStatus(&status), DS_OK);
    EXPECT_EQ(status, 0u);
}
