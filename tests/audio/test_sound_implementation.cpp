#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "audio/audio_engine_rig.h"
#include "audio/null/sound_implementation_null.h"
#include "audio/sound_record.h"

TEST(SoundImplementationNull, LoadsEverythingAndPlaysNothing)
{
    SoundImplementationNull silent;
    HV_SoundRecord sound = {};
    EXPECT_STREQ(silent.GetName(), "SoundImp Null");
    EXPECT_TRUE(silent.LoadSample(&sound, "anything.wav"));
    EXPECT_EQ(sound.sample, nullptr);
    EXPECT_EQ(silent.PlaySampleLooped(&sound, 1.0f, 0.0f, 1.0f, true), 0u);
    EXPECT_FALSE(silent.IsVoicePlaying(0));
}

TEST(SoundImplementation, DeprecatedSlotsAnswer555AndWarn)
{
    AudioEngineRig rig;
    SoundImplementationNull silent;
    EXPECT_EQ(silent.DeprecatedValue20(), 555);
    EXPECT_FALSE(rig.Logged("Calling deprecated Sound Imp method!"));
    EXPECT_EQ(silent.DeprecatedMethod17(), 555);
    EXPECT_EQ(silent.DeprecatedMethod26(), 555);
    EXPECT_TRUE(rig.Logged("Calling deprecated Sound Imp method!"));
}

namespace {

// The slot of a virtual operation, numbered as the table of operations numbers
// it: the destructor is slot 0, then each operation in the order of
// declaration. Under the Itanium C++ ABI that compilers follow on x86-64 Linux,
// a pointer to a virtual member function holds 1 plus the operation's byte
// offset in the virtual table, in which the destructor takes two entries.
template <typename Member>
int SlotOf(Member member)
{
    struct Representation {
        uintptr_t pointer;
        ptrdiff_t adjustment;
    };
    static_assert(sizeof(Member) == sizeof(Representation));
    Representation representation;
    std::memcpy(&representation, &member, sizeof representation);
    if ((representation.pointer & 1) == 0) return -1;  // not a virtual operation
    return int((representation.pointer - 1) / sizeof(void*)) - 1;
}

}  // namespace

TEST(SoundImplementation, OperationsKeepTheirSlots)
{
    EXPECT_EQ(SlotOf(&SoundImplementation::GetName), 1);
    EXPECT_EQ(SlotOf(&SoundImplementation::PlaySampleLooped), 9);
    EXPECT_EQ(SlotOf(&SoundImplementation::IsVoicePlaying), 16);
    EXPECT_EQ(SlotOf(&SoundImplementation::DeprecatedMethod17), 17);
    EXPECT_EQ(SlotOf(&SoundImplementation::DeprecatedValue20), 20);
    EXPECT_EQ(SlotOf(&SoundImplementation::DeprecatedMethod26), 26);
    EXPECT_EQ(SlotOf(&SoundImplementation::SetMusicVolume), 28);
    EXPECT_EQ(SlotOf(&SoundImplementation::Reserved), 29);
    EXPECT_EQ(SlotOf(&SoundImplementation::Update), 30);
    EXPECT_EQ(SlotOf(&SoundImplementation::LateFrameUpdate), 31);
    // The silent back end declares two more: one answering true, one doing nothing.
    EXPECT_EQ(SlotOf(&SoundImplementationNull::ReservedQuery), 32);
    EXPECT_EQ(SlotOf(&SoundImplementationNull::ReservedHook), 33);
    SoundImplementationNull silent;
    EXPECT_TRUE(silent.ReservedQuery());
    silent.ReservedHook();
}
