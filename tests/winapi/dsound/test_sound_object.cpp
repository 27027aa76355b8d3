#include <gtest/gtest.h>

#include "winapi/dsound/dsound_library.h"

TEST(DirectSoundObject, CreatesOnTheDefaultDeviceOnlyAndAnswersItsInterfaces)
{
    DSoundLibrary library;
    SetEnvironmentVariableA("HALVO_AUDIO_OUTPUT", "pull");
    IDirectSound* sound = nullptr;
    const GUID other = {1, 2, 3, {4, 5, 6, 7, 8, 9, 10, 11}};
    EXPECT_EQ(library.create(&other, &sound, nullptr), DSERR_NODRIVER);
    EXPECT_EQ(sound, nullptr);
    EXPECT_EQ(library.create(nullptr, nullptr, nullptr), DSERR_INVALIDPARAM);
    ASSERT_EQ(library.create(nullptr, &sound, nullptr), DS_OK);
    EXPECT_STREQ(library.OutputName(), "pull");
    IDirectSound8* sound8 = nullptr;
    EXPECT_EQ(sound->QueryInterface(IID_IDirectSound8, reinterpret_cast<void**>(&sound8)), S_OK);
    EXPECT_EQ(static_cast<IDirectSound*>(sound8), sound);
    IDirectSoundBuffer* notThis = nullptr;
    EXPECT_EQ(sound->QueryInterface(IID_IDirectSoundBuffer, reinterpret_cast<void**>(&notThis)), E_NOINTERFACE);
    EXPECT_EQ(notThis, nullptr);
    sound8->Release();
    EXPECT_EQ(sound->Release(), 0u);
}

TEST(DirectSoundObject, NeedsACooperativeLevelBeforeAPrimaryBufferWhoseFormatSetsTheOutputRate)
{
    DSoundLibrary library;
    SetEnvironmentVariableA("HALVO_AUDIO_OUTPUT", "pull");
    IDirectSound* sound = nullptr;
    ASSERT_EQ(library.create(nullptr, &sound, nullptr), DS_OK);
    DSBUFFERDESC description = {};
    description.dwSize = sizeof(description);
    description.dwFlags = DSBCAPS_PRIMARYBUFFER;
    IDirectSoundBuffer* refused = nullptr;
    EXPECT_EQ(sound->CreateSoundBuffer(&description, &refused, nullptr), DSERR_PRIOLEVELNEEDED);
    EXPECT_EQ(sound->SetCooperativeLevel(nullptr, DSSCL_PRIORITY), DSERR_INVALIDPARAM);
    EXPECT_EQ(sound->SetCooperativeLevel(TestWindow(), 9), DSERR_INVALIDPARAM);
    EXPECT_EQ(sound->SetCooperativeLevel(TestWindow(), DSSCL_PRIORITY), DS_OK);
    // A primary buffer has no volume control and no size of its own.
    description.dwFlags = DSBCAPS_PRIMARYBUFFER | DSBCAPS_CTRLVOLUME;
    EXPECT_EQ(sound->CreateSoundBuffer(&description, &refused, nullptr), DSERR_CONTROLUNAVAIL);
    description.dwFlags = DSBCAPS_PRIMARYBUFFER;
    description.dwBufferBytes = 100;
    EXPECT_EQ(sound->CreateSoundBuffer(&description, &refused, nullptr), DSERR_INVALIDPARAM);
    description.dwBufferBytes = 0;
    IDirectSoundBuffer* primary = nullptr;
    ASSERT_EQ(sound->CreateSoundBuffer(&description, &primary, nullptr), DS_OK);
    WAVEFORMATEX format = PcmFormat(2, 22050);
    ASSERT_EQ(primary->SetFormat(&format), DS_OK);
    WAVEFORMATEX read = {};
    ASSERT_EQ(primary->GetFormat(&read, sizeof(read), nullptr), DS_OK);
    EXPECT_EQ(read.nSamplesPerSec, 22050u);
    EXPECT_EQ(read.nChannels, 2);
    EXPECT_EQ(read.wBitsPerSample, 16);
    WAVEFORMATEX bad = PcmFormat(2, 22050);
    bad.wBitsPerSample = 24;
    bad.nBlockAlign = 6;
    bad.nAvgBytesPerSec = 22050 * 6;
    EXPECT_EQ(primary->SetFormat(&bad), DSERR_BADFORMAT);
    // A buffer at the new output rate plays one frame per output frame.
    IDirectSoundBuffer* buffer = library.CreateBuffer(sound, 1, 22050, 400);
    ASSERT_NE(buffer, nullptr);
    ASSERT_EQ(buffer->Play(0, 0, DSBPLAY_LOOPING), DS_OK);
    library.Pull(50);
    DWORD play = 0;
    ASSERT_EQ(buffer->GetCurrentPosition(&play, nullptr), DS_OK);
    EXPECT_EQ(play, 100u);
    buffer->Release();
    primary->Release();
    sound->Release();
}
