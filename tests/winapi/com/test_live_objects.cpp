// The live-object count is one count for the process: objects made inside the
// modules the engine loads (our DirectSound and HLSL compiler libraries) count
// into it as the test's own would.
#include <d3dcompiler.h>
#include <dsound.h>
#include <gtest/gtest.h>
#include <windows.h>

#include "winapi/com/live_objects.h"

namespace {

template <class Function>
Function FindEntry(HMODULE module, const char* name)
{
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}

TEST(LiveObjects, ObjectsOfLoadedLibrariesCountInTheProcesswideCount)
{
    HMODULE dsound = LoadLibraryA("DSOUND.DLL");
    HMODULE compiler = LoadLibraryA("d3dcompiler_47.dll");
    ASSERT_NE(dsound, nullptr);
    ASSERT_NE(compiler, nullptr);
    auto createSound = FindEntry<LPDIRECTSOUNDCREATE>(dsound, "DirectSoundCreate");
    auto createBlob = FindEntry<HRESULT(WINAPI*)(SIZE_T, ID3DBlob**)>(compiler, "D3DCreateBlob");
    ASSERT_NE(createSound, nullptr);
    ASSERT_NE(createBlob, nullptr);

    const int64_t before = halvo::com::LiveObjectCount();
    SetEnvironmentVariableA("HALVO_AUDIO_OUTPUT", "silent");
    IDirectSound* sound = nullptr;
    ASSERT_EQ(createSound(nullptr, &sound, nullptr), DS_OK);
    SetEnvironmentVariableA("HALVO_AUDIO_OUTPUT", nullptr);
    ID3DBlob* blob = nullptr;
    ASSERT_EQ(createBlob(16, &blob), S_OK);
    EXPECT_EQ(halvo::com::LiveObjectCount(), before + 2);

    ASSERT_EQ(sound->SetCooperativeLevel(reinterpret_cast<HWND>(uintptr_t(0x1000)), DSSCL_PRIORITY), DS_OK);
    DSBUFFERDESC description = {};
    description.dwSize = sizeof(description);
    description.dwFlags = DSBCAPS_PRIMARYBUFFER;
    IDirectSoundBuffer* primary = nullptr;
    ASSERT_EQ(sound->CreateSoundBuffer(&description, &primary, nullptr), DS_OK);
    EXPECT_EQ(halvo::com::LiveObjectCount(), before + 3);

    EXPECT_EQ(sound->Release(), 0u);
    EXPECT_EQ(halvo::com::LiveObjectCount(), before + 3) << "the primary buffer keeps its sound object alive";
    EXPECT_EQ(primary->Release(), 0u);
    EXPECT_EQ(blob->Release(), 0u);
    EXPECT_EQ(halvo::com::LiveObjectCount(), before);
    FreeLibrary(compiler);
    FreeLibrary(dsound);
}

}  // namespace
