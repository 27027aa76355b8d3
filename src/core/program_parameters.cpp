#include "core/program_parameters.h"

#include <climits>
#include <cstdlib>
#include <cstring>

#include "core/configuration.h"
#include "core/features.h"
#include "core/logging.h"
#include "filesystem/scheme_roots.h"

namespace {

void CopyText(char* target, size_t size, const char* text)
{
    if (text && *text) {
        std::strncpy(target, text, size - 1);
        target[size - 1] = '\0';
    }
}

// Reads the digits of a positive int at text; null when there are none or
// the number is 0 or does not fit.
const char* ParsePositive(const char* text, int& value)
{
    while (*text == ' ') {
        ++text;
    }
    long long number = 0;
    const char* c = text;
    for (; *c >= '0' && *c <= '9'; ++c) {
        number = number * 10 + (*c - '0');
        if (number > INT_MAX) {
            return nullptr;
        }
    }
    if (c == text || number == 0) {
        return nullptr;
    }
    value = static_cast<int>(number);
    return c;
}

}  // namespace

int HVI_ApplyConfiguration(const HVI_Configuration& configuration, const char* commandLine)
{
    const bool developerMode = configuration.IsDeveloperMode();
    HVI_SetDeveloperMode(developerMode);
    HVI_SetFileSystemDeveloperMode(developerMode);
    HVI_SetFeatureLists(HVI_CommandLineFeatures(commandLine).GetText(), configuration.GetProgramValue("features"),
                        configuration.GetDeveloperValue("features"));
    if (const char* verbose = configuration.GetDeveloperValue("logging_verbose_level")) {
        HVI_SetLogThreshold(static_cast<int>(std::strtol(verbose, nullptr, 10)));
    }
    return HV_HasFeature("DISABLE_VSYNC") ? 0 : 1;
}

const char* HVI_ProgramIdForFolders(const HVI_Configuration& configuration)
{
    const char* id = configuration.GetProgramValue("program_id");
    return id && *id ? id : "halvo";
}

bool HVI_ParseResolution(const char* text, int& width, int& height)
{
    int parsedWidth = 0;
    int parsedHeight = 0;
    const char* at = text ? ParsePositive(text, parsedWidth) : nullptr;
    if (!at || *at != 'x') {
        return false;
    }
    at = ParsePositive(at + 1, parsedHeight);
    if (!at) {
        return false;
    }
    width = parsedWidth;
    height = parsedHeight;
    return true;
}

void HVI_MergeProgramParameters(const HVI_Configuration& configuration, const char* commandLine,
                                HV_ProgramInterface& program)
{
    CopyText(program.programId, sizeof(program.programId), configuration.GetProgramValue("program_id"));
    CopyText(program.title, sizeof(program.title), configuration.GetProgramValue("name"));
    CopyText(program.version, sizeof(program.version), configuration.GetProgramValue("version"));
    CopyText(program.developer, sizeof(program.developer), configuration.GetProgramValue("developer"));
    CopyText(program.video.locale, sizeof(program.video.locale), configuration.GetProgramValue("locale"));
    if (const char* fpsLimit = configuration.GetProgramValue("fps_limit")) {
        program.video.frameTimeMs = HVI_FrameTimeFromFpsLimit(fpsLimit);
    }
    if (const char* windowed = configuration.GetDeveloperValue("force_windowed")) {
        program.video.windowed = HVI_Configuration::IsTrue(windowed) ? 1 : 0;
    }
    HVI_ParseResolution(configuration.GetDeveloperValue("force_resolution"), program.video.width, program.video.height);
    HVI_ParseResolution(configuration.GetProgramValue("reference_resolution"), program.video.referenceWidth,
                        program.video.referenceHeight);
    if (HV_HasFeature("NO_SOUND")) {
        program.video.noSound = 1;
    }
    program.video.developerMode = HV_IsDeveloperMode() ? 1 : 0;
    program.video.consoleVisible =
        HV_IsDeveloperMode() && HVI_Configuration::IsTrue(configuration.GetDeveloperValue("console")) ? 1 : 0;
    program.video.commandLine = commandLine;
}
