#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <thread>

#include "audio/audio_engine_rig.h"
#include "audio/audio_state.h"
#include "audio/sound_record.h"
#include "audio/sound_table.h"

using namespace audio_test;

namespace {

class AudioTableTest : public testing::Test {
protected:
    void MakeTone(const std::string& name) { MakeWav(rig.folder().File(name), 44100, 1, "0.2 sine 300"); }

    AudioEngineRig rig;
};

}  // namespace

TEST_F(AudioTableTest, GetSoundCountsOneReferenceAndLoadSoundOneACall)
{
    MakeTone("tone.wav");
    HV_SoundRecord* first = rig.audio().GetSound("tone");
    HV_SoundRecord* second = rig.audio().GetSound("tone");
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first, second);
    EXPECT_EQ(first->referenceCount, 1);
    EXPECT_TRUE(rig.audio().IsSoundLoaded(first));
    EXPECT_STREQ(first->loadedPath, "tone.wav");
    EXPECT_NEAR(first->length, 0.2f, 0.001f);
    EXPECT_EQ(first->byteSize, 8820u * 2u);
    EXPECT_EQ(rig.audio().LoadSound("tone"), first);
    EXPECT_EQ(rig.audio().LoadSound("tone"), first);
    EXPECT_EQ(first->referenceCount, 3);
}

TEST_F(AudioTableTest, ReleasingAGetSoundToZeroWarnsAndHibernates)
{
    MakeTone("tone.wav");
    HV_SoundRecord* sound = rig.audio().GetSound("tone");
    ASSERT_NE(sound->sample, nullptr);
    rig.audio().ReleaseSound(sound);
    EXPECT_TRUE(
        rig.Logged("Releasing sound 'tone' too many times: ref counting will get messed up. NOTE: sound has "
                   "been accessed using GetSound which increses ref count by 1 once."))
        << rig.LogText();
    EXPECT_TRUE(rig.Logged("Hibernating sound 'tone'.."));
    EXPECT_EQ(sound->sample, nullptr);
    EXPECT_FALSE(rig.audio().IsSoundLoaded(sound));
    EXPECT_STREQ(sound->name, "tone");
    // GetSound does not wake a hibernated record; LoadSound does.
    EXPECT_EQ(rig.audio().GetSound("tone")->sample, nullptr);
    EXPECT_NE(rig.audio().LoadSound("tone")->sample, nullptr);
}

TEST_F(AudioTableTest, ReleasingBelowZeroKeepsZero)
{
    HV_SoundRecord* sound = rig.audio().GetSoundWithCacheMode("quiet", HV_SOUND_CACHE_NOTHING);
    rig.audio().ReleaseSound(sound);
    EXPECT_EQ(sound->referenceCount, 0);
    EXPECT_TRUE(rig.Logged("Sound 'quiet' reference count less than zero."));
}

TEST_F(AudioTableTest, TheEntryAfterTheLastGivesOutOfFreeSounds)
{
    for (int i = 0; i < HV_SOUND_TABLE_SIZE; ++i) {
        ASSERT_NE(rig.audio().GetSoundWithCacheMode(("s" + std::to_string(i)).c_str(), HV_SOUND_CACHE_NOTHING),
                  nullptr);
    }
    EXPECT_EQ(rig.audio().GetSoundWithCacheMode("one-too-many", HV_SOUND_CACHE_NOTHING), nullptr);
    EXPECT_TRUE(rig.Logged(" ! Halvo out of free sounds.")) << rig.LogText();
}

TEST_F(AudioTableTest, LookupModeFindsWithoutCreatingOrCounting)
{
    EXPECT_EQ(rig.audio().GetSoundWithCacheMode("absent", HV_SOUND_CACHE_LOOKUP), nullptr);
    EXPECT_EQ(HVI_GetAudioState().soundCount, 0);
    MakeTone("tone.wav");
    HV_SoundRecord* sound = rig.audio().LoadSound("tone");
    EXPECT_EQ(rig.audio().GetSoundWithCacheMode("tone", HV_SOUND_CACHE_LOOKUP), sound);
    EXPECT_EQ(sound->referenceCount, 1);
}

TEST_F(AudioTableTest, NoneIsCountedButNeverLoadedOrPlayed)
{
    HV_SoundRecord* none = rig.audio().GetSound("!NONE");
    ASSERT_NE(none, nullptr);
    EXPECT_EQ(none->appliedCacheMode, HV_SOUND_CACHE_LOAD);
    EXPECT_EQ(none->sample, nullptr);
    EXPECT_EQ(rig.audio().LoadSound("!NONE"), none);
    EXPECT_EQ(rig.audio().PlaySound(none, 1.0f, 0.0f, 1.0f), 0u);
}

TEST_F(AudioTableTest, AFolderWithADotIsProbedWithTheExtensions)
{
    std::filesystem::create_directories(rig.folder().File("sfx.v2"));
    MakeOgg(rig.folder().File("sfx.v2/hit.ogg"), 44100, 1, "0.2 sine 300");
    HV_SoundRecord* sound = rig.audio().LoadSound("sfx.v2/hit");
    ASSERT_TRUE(rig.audio().IsSoundLoaded(sound));
    EXPECT_STREQ(sound->loadedPath, "sfx.v2/hit.ogg");
    EXPECT_TRUE(rig.audio().SoundExists("sfx.v2/hit"));
    EXPECT_FALSE(rig.audio().SoundExists("sfx.v2/miss"));
}

// Sounds that cannot be played: each is reported with its reason, and playing it gives no channel.
TEST_F(AudioTableTest, ASoundThatCannotBeReadIsReportedAndNeverPlays)
{
    MakeWav(rig.folder().File("coarse.wav"), 22050, 1, "0.1 sine 300", 8);
    WriteText(rig.folder().File("song.mp3"), "not decoded");
    const struct {
        const char* name;
        bool loaded;  // an existing MP3 counts as loaded, without a sample
        const char* line;
    } rows[] = {
        {"nowhere", false, "Sound resource 'nowhere' not found."},
        {"coarse", false, "Bits per sample 8 is not 16 as expected."},
        {"missing.mpl", false, "VELT LoadPlayList 'missing.mpl': the file cannot be opened."},
        {"song", true, "SoundImplementation VELT pretending it can load mp3."},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        HV_SoundRecord* sound = rig.audio().LoadSound(row.name);
        ASSERT_NE(sound, nullptr);
        EXPECT_EQ(rig.audio().IsSoundLoaded(sound), row.loaded);
        EXPECT_EQ(sound->sample, nullptr);
        EXPECT_TRUE(rig.Logged(row.line)) << rig.LogText();
        EXPECT_EQ(rig.audio().PlaySound(sound, 1.0f, 0.0f, 1.0f), 0u);
    }
}

// A play list of which no entry can be played loads as an empty list: the
// record counts as loaded, and playing it gives a channel that plays silence.
TEST_F(AudioTableTest, APlayListWithoutPlayableEntriesLoadsAndPlaysSilence)
{
    WriteText(rig.folder().File("quiet.mpl"), "missing.wav\n");
    HV_SoundRecord* sound = rig.audio().LoadSound("quiet.mpl");
    ASSERT_NE(sound, nullptr);
    EXPECT_TRUE(rig.audio().IsSoundLoaded(sound));
    EXPECT_NE(sound->sample, nullptr);
    EXPECT_TRUE(rig.Logged("VELT LoadPlayList 'quiet.mpl': no playable entries.")) << rig.LogText();
    EXPECT_FALSE(rig.Logged("not found")) << rig.LogText();
    const HV_PlayHandle handle = rig.audio().PlaySound(sound, 1.0f, 0.0f, 1.0f);
    ASSERT_NE(handle, 0u);
    const std::vector<SHORT> frames = rig.Pull(4410);
    EXPECT_EQ(std::count(frames.begin(), frames.end(), SHORT(0)), std::ptrdiff_t(frames.size()));
    EXPECT_TRUE(rig.audio().IsSoundPlaying(handle));
}

TEST_F(AudioTableTest, AFileThatFailsToLoadIsReportedOnlyByItsReader)
{
    MakeWav(rig.folder().File("coarse.wav"), 22050, 1, "0.1 sine 300", 8);
    WriteBytes(rig.folder().File("damaged.ogg"), ReadBytes(HALVO_TEST_DATA_DIR "/audio/damaged-setup-header.ogg"));
    rig.audio().LoadSound("coarse");
    rig.audio().GetSound("damaged");
    // A hibernated sound loads again when counted.
    HV_SoundRecord* named = rig.audio().LoadSound("coarse.wav");
    rig.audio().ReleaseSound(named);
    const int32_t count = 1;
    rig.audio().IncreaseSoundReferenceCount(named, &count);
    EXPECT_TRUE(rig.Logged("Bad format VELT LoadSampleWAV 'coarse.wav'")) << rig.LogText();
    EXPECT_TRUE(rig.Logged("Bad format VELT LoadSampleOGG 'damaged.ogg'")) << rig.LogText();
    EXPECT_FALSE(rig.Logged("not found")) << rig.LogText();
}

TEST_F(AudioTableTest, AReferenceCountPastTheCapIsCappedNotTruncated)
{
    MakeTone("tone.wav");
    HV_SoundRecord* sound = rig.audio().LoadSound("tone");
    const int32_t many = 70000;  // 70001 would be 4465 in 16 bits
    rig.audio().IncreaseSoundReferenceCount(sound, &many);
    EXPECT_EQ(sound->referenceCount, HV_SOUND_MAX_REFERENCES);
    EXPECT_TRUE(rig.Logged("Sound 'tone' reference count suspiciously high: capping at 4096."));
}

TEST_F(AudioTableTest, IncreasingAHibernatedSoundLoadsItAgain)
{
    MakeTone("tone.wav");
    HV_SoundRecord* sound = rig.audio().LoadSound("tone");
    rig.audio().ReleaseSound(sound);
    ASSERT_EQ(sound->sample, nullptr);
    const int32_t one = 1;
    rig.audio().IncreaseSoundReferenceCount(sound, &one);
    EXPECT_NE(sound->sample, nullptr);
    EXPECT_EQ(sound->referenceCount, 1);
}

TEST_F(AudioTableTest, ReloadingSkipsHibernatedCacheOnlyAndInternalRecords)
{
    MakeTone("kept.wav");
    MakeTone("asleep.wav");
    MakeTone("cached.wav");
    HV_SoundRecord* kept = rig.audio().LoadSound("kept");
    HV_SoundRecord* asleep = rig.audio().LoadSound("asleep");
    rig.audio().ReleaseSound(asleep);
    HV_SoundRecord* cached = rig.audio().GetSoundWithCacheMode("cached", HV_SOUND_CACHE_NOTHING);
    HV_SoundRecord* none = rig.audio().LoadSound("!NONE");
    kept->loaded = false;  // set again only by a reload
    HVI_ReloadSounds();
    EXPECT_TRUE(kept->loaded);
    EXPECT_NE(kept->sample, nullptr);
    EXPECT_EQ(asleep->sample, nullptr);
    EXPECT_EQ(cached->sample, nullptr);
    EXPECT_EQ(none->sample, nullptr);
}

TEST(AudioTableDeveloperMode, ANameWithItsExtensionWarnsAndLoadsThatFile)
{
    AudioEngineRig rig(false, true);
    MakeOgg(rig.folder().File("theme.ogg"), 44100, 2, "0.3 sine 300");
    HV_SoundRecord* sound = rig.audio().LoadSound("theme.ogg");
    EXPECT_TRUE(rig.Logged("Sound name 'theme.ogg' has file extension. Remove it from the file name."));
    EXPECT_TRUE(rig.audio().IsSoundLoaded(sound));
    EXPECT_EQ(sound->loadedPath, nullptr);
    EXPECT_NE(sound->fileTime, 0u);
}

TEST(AudioTableNoSound, PlaysNothingAndCountsEverySoundAsLoaded)
{
    AudioEngineRig rig(true);
    EXPECT_TRUE(rig.Logged("Sounds disabled. Null Sound Implementation in use."));
    MakeWav(rig.folder().File("tone.wav"), 44100, 1, "0.2 sine 300");
    HV_SoundRecord* sound = rig.audio().LoadSound("tone");
    EXPECT_TRUE(rig.audio().IsSoundLoaded(sound));
    EXPECT_EQ(rig.audio().PlaySound(sound, 1.0f, 0.0f, 1.0f), 0u);
    HV_SoundRecord* missing = rig.audio().GetSoundWithCacheMode("missing", HV_SOUND_CACHE_NOTHING);
    EXPECT_TRUE(rig.audio().IsSoundLoaded(missing));
}

// Several threads create, find, count and release records at once; the table
// and every count are changed only under GET_SOUND.
TEST_F(AudioTableTest, ThreadsShareTheTableUnderItsLock)
{
    constexpr int kThreads = 4;
    constexpr int kRounds = 200;
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([this, t] {
            for (int i = 0; i < kRounds; ++i) {
                HV_SoundRecord* shared = rig.audio().GetSoundWithCacheMode(("shared" + std::to_string(i % 10)).c_str(),
                                                                           HV_SOUND_CACHE_NOTHING);
                const int32_t one = 1;
                rig.audio().IncreaseSoundReferenceCount(shared, &one);
                rig.audio().ReleaseSound(shared);
                rig.audio().GetSoundWithCacheMode(("own" + std::to_string(t)).c_str(), HV_SOUND_CACHE_LOOKUP);
                rig.audio().GetSoundWithCacheMode(("own" + std::to_string(t)).c_str(), HV_SOUND_CACHE_NOTHING);
            }
        });
    }
    for (auto& thread : threads) {
        thread.join();
    }
    EXPECT_EQ(HVI_GetAudioState().soundCount, 10 + kThreads);
    for (int i = 0; i < 10; ++i) {
        HV_SoundRecord* shared =
            rig.audio().GetSoundWithCacheMode(("shared" + std::to_string(i)).c_str(), HV_SOUND_CACHE_LOOKUP);
        ASSERT_NE(shared, nullptr);
        EXPECT_EQ(shared->referenceCount, 0);
    }
}

// Threads that load one new sound at once load its sample once: the load is
// claimed under GET_SOUND, so that no sample is loaded twice and lost.
TEST_F(AudioTableTest, ThreadsLoadingOneNewSoundLoadItOnce)
{
    constexpr int kThreads = 4;
    constexpr int kNames = 20;
    MakeTone("tone.wav");
    for (int n = 0; n < kNames; ++n) {
        std::filesystem::copy_file(rig.folder().File("tone.wav"),
                                   rig.folder().File("tone" + std::to_string(n) + ".wav"));
    }
    for (int n = 0; n < kNames; ++n) {
        const std::string name = "tone" + std::to_string(n);
        std::atomic<int> ready{0};
        std::vector<std::thread> threads;
        for (int t = 0; t < kThreads; ++t) {
            threads.emplace_back([&, t] {
                ++ready;
                while (ready < kThreads) {
                    std::this_thread::yield();
                }
                // Half the threads come through GetSound, which loads a new record too.
                if (t % 2 == 0) {
                    rig.audio().LoadSound(name.c_str());
                } else {
                    rig.audio().GetSound(name.c_str());
                }
            });
        }
        for (auto& thread : threads) {
            thread.join();
        }
        HV_SoundRecord* sound = rig.audio().GetSoundWithCacheMode(name.c_str(), HV_SOUND_CACHE_LOOKUP);
        ASSERT_NE(sound, nullptr);
        EXPECT_TRUE(sound->loaded) << name;
        EXPECT_NE(sound->sample, nullptr) << name;
    }
    EXPECT_FALSE(rig.Logged("not found")) << rig.LogText();
}
