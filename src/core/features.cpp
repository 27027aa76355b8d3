#include "core/features.h"

#include <atomic>
#include <cstring>

#include "core/lifecycle_texts.h"
#include "foundation/string.h"

namespace {

// The three lists are written during pre-initialisation on the main thread,
// before any other thread exists, and only read afterwards.
String g_commandLineFeatures;
String g_programFeatures;
String g_developerFeatures;
std::atomic<bool> g_developerMode{false};

bool IsWordBoundary(char c) { return c == '\0' || c == ',' || c == ';' || c == ' '; }

}  // namespace

bool HVI_FeatureListHasWord(const char* list, const char* word)
{
    if (!list || !word || !*word) {
        return false;
    }
    const size_t length = std::strlen(word);
    for (const char* at = std::strstr(list, word); at; at = std::strstr(at + 1, word)) {
        const bool startBounded = at == list || IsWordBoundary(at[-1]);
        if (startBounded && IsWordBoundary(at[length])) {
            return true;
        }
    }
    return false;
}

bool HV_HasFeature(const char* word)
{
    if (g_developerMode && word && std::strcmp(word, "DEVELOPER_MODE") == 0) {
        return true;
    }
    return HVI_FeatureListHasWord(g_commandLineFeatures.GetText(), word) ||
           HVI_FeatureListHasWord(g_programFeatures.GetText(), word) ||
           HVI_FeatureListHasWord(g_developerFeatures.GetText(), word);
}

bool HV_IsDeveloperMode() { return g_developerMode; }

void HVI_SetFeatureLists(const char* commandLine, const char* program, const char* developer)
{
    g_commandLineFeatures.Assign(commandLine ? commandLine : "");
    g_programFeatures.Assign(program ? program : "");
    g_developerFeatures.Assign(developer ? developer : "");
}

void HVI_SetDeveloperMode(bool on) { g_developerMode = on; }

void HVI_ResetFeatures()
{
    HVI_SetFeatureLists(nullptr, nullptr, nullptr);
    g_developerMode = false;
}

String HVI_CommandLineFeatures(const char* commandLine)
{
    String features;
    const size_t optionLength = std::strlen(kCommandLineFeaturesOption);
    for (const char* at = commandLine ? std::strstr(commandLine, kCommandLineFeaturesOption) : nullptr; at;
         at = std::strstr(at + 1, kCommandLineFeaturesOption)) {
        const char* list = at + optionLength;
        if (at != commandLine && at[-1] != ' ') {
            continue;
        }
        if (*list != ' ' && *list != '=') {
            continue;
        }
        while (*list == ' ' || *list == '=') {
            ++list;
        }
        const char* end = list;
        while (*end && *end != ' ') {
            ++end;
        }
        if (!features.IsEmpty()) {
            features.AppendChar(',');
        }
        features.Append(list, static_cast<int>(end - list));
    }
    return features;
}
