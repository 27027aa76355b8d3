/* Program libraries for the binding tests, one per compile definition:
   TEST_OLDER_ENTRY exports only HV_GetInterface, TEST_NO_ENTRY exports no
   entry point, TEST_ENTRY_FAILS answers false, TEST_MAJOR and TEST_MINOR
   set another major or minor version. */
#include <halvo.h>

#include <string.h>

#ifndef TEST_MAJOR
#define TEST_MAJOR 15
#endif
#ifndef TEST_MINOR
#define TEST_MINOR 30
#endif

static HV_ProgramInterface olderBlock __attribute__((unused)); /* not every variant uses these */

__attribute__((unused)) static void Fill(HV_ProgramInterface* block)
{
    block->interfaceVersion = ((unsigned)TEST_MAJOR << 16) | ((unsigned)TEST_MINOR << 8) | 1u;
    strcpy(block->programId, "test program");
    block->video.width = 320;
    block->video.height = 200;
    block->video.windowed = 1;
}

#if defined(TEST_NO_ENTRY)
HV_EXPORT int SomethingElse(void) { return 1; }
#elif defined(TEST_OLDER_ENTRY)
HV_EXPORT HV_ProgramInterface* HV_GetInterface(void)
{
    Fill(&olderBlock);
    return &olderBlock;
}
#else
static HV_ProgramInterface* boundBlock __attribute__((unused));
static int videoChecks __attribute__((unused));

/* Counts the video checks of pre-initialisation and, in the check, asks for
   the multi-pointer flag to show that the engine keeps what the check changes. */
__attribute__((unused)) static int32_t OnEvent(HV_Event* event)
{
    if (event->kind == HV_EVENT_VIDEO_REINITIALIZATION && boundBlock) {
        ++videoChecks;
        boundBlock->video.multiPointer = 1;
    }
    return 0;
}

HV_EXPORT int TestProgram_GetVideoCheckCount(void) { return videoChecks; }

HV_EXPORT bool HV_GetProgramInterface(HV_ProgramInterface* block, uint32_t engineVersion)
{
    (void)olderBlock;
#if defined(TEST_ENTRY_FAILS)
    (void)block;
    (void)engineVersion;
    return false;
#else
    /* Only a zeroed block with the engine's version is accepted. */
    const unsigned char* bytes = (const unsigned char*)block;
    for (size_t i = 0; i < sizeof(*block); ++i) {
        if (bytes[i] != 0) {
            return false;
        }
    }
    if (engineVersion != HV_INTERFACE_VERSION) {
        return false;
    }
    Fill(block);
    block->OnEvent = OnEvent;
    boundBlock = block;
    videoChecks = 0;
    return true;
#endif
}
#endif
