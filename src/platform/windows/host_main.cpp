// The host executable: registers the subsystems this build has, then runs
// the process entry with the command line.
#include "foundation/string.h"
#include "platform/windows/process_entry.h"

#if HALVO_HAS_GRAPHICS
void HVI_RegisterGraphicsSubsystem();
#endif
#if HALVO_HAS_AUDIO
void HVI_RegisterAudioSubsystem();
#endif
#if HALVO_HAS_EXTENSIONS
void HVI_RegisterExtensionSubsystem();
#endif

int main(int argc, char** argv)
{
    String commandLine;
    for (int i = 0; i < argc; ++i) {
        if (i > 0) {
            commandLine.AppendChar(' ');
        }
        commandLine.Append(argv[i]);
    }
    HVI_RegisterPlatformSubsystem();
#if HALVO_HAS_GRAPHICS
    HVI_RegisterGraphicsSubsystem();
#endif
#if HALVO_HAS_AUDIO
    HVI_RegisterAudioSubsystem();
#endif
#if HALVO_HAS_EXTENSIONS
    HVI_RegisterExtensionSubsystem();
#endif
    return HVI_RunProcess(commandLine.GetText());
}
