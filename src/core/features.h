#pragma once

#include "foundation/string.h"

// Feature flags and developer mode. A feature word is on when one of the
// three lists (command line "--features", prog.xml and developer.xml
// "features") holds it as a whole word.

// Whether the word is set in one of the three lists.
bool HV_HasFeature(const char* word);
// Whether developer.xml switched developer mode on.
bool HV_IsDeveloperMode();

// Whether list holds word bounded by the list's start or end, ',', ';' or a space.
bool HVI_FeatureListHasWord(const char* list, const char* word);

// The list after "--features" on the command line ("--features A,B" or
// "--features=A,B"); several options are joined with ','.
String HVI_CommandLineFeatures(const char* commandLine);

// Sets the lists (pre-initialisation); null leaves a list empty.
void HVI_SetFeatureLists(const char* commandLine, const char* program, const char* developer);
// Sets developer mode; it also adds "DEVELOPER_MODE" to the features.
void HVI_SetDeveloperMode(bool on);
// Empties the lists and clears developer mode.
void HVI_ResetFeatures();
