#pragma once

// What pre-initialisation takes from prog.xml, developer.xml and the command
// line: developer mode, the feature lists and the log threshold, the program
// id that names the user folders and the log, and the parameters written
// into the program block.

#include <halvo/program.h>

class HVI_Configuration;

// Sets developer mode, the three feature lists (command line "--features",
// prog.xml and developer.xml "features") and the log threshold
// (developer.xml "logging_verbose_level"); returns the present interval, 0
// when DISABLE_VSYNC is set, else 1.
int HVI_ApplyConfiguration(const HVI_Configuration& configuration, const char* commandLine);

// The prog.xml "program_id", or "halvo" without one.
const char* HVI_ProgramIdForFolders(const HVI_Configuration& configuration);

// Writes the engine's parameters into the program block: identity texts
// (cut to their fields, always terminated), locale, the frame time of
// "fps_limit", the developer's forced window mode and resolution, the
// reference resolution, no-sound, developer mode, the console and the
// command line (kept by the caller for the life of the block).
void HVI_MergeProgramParameters(const HVI_Configuration& configuration, const char* commandLine,
                                HV_ProgramInterface& program);

// A resolution "<width>x<height>" of two positive numbers that fit an int;
// false, leaving both as they were, for anything else.
bool HVI_ParseResolution(const char* text, int& width, int& height);
