#pragma once

// Messages of binding the program library.
constexpr const char* kProgramLibraryResourcePath = "res://prog.dll";
constexpr const char* kProgramLibraryName = "prog.dll";
constexpr const char* kProgramEntryPoint = "HV_GetProgramInterface";
constexpr const char* kOlderProgramEntryPoint = "HV_GetInterface";
constexpr unsigned kRequiredProgramMajor = 15;
constexpr unsigned kRequiredProgramMinor = 30;

constexpr const char* kProgramLoadFailedText = "HVI_BindProgram: cannot load the program library '%s' (error %u: %s).";
constexpr const char* kProgramNoEntryText =
    "HVI_BindProgram: the program library exports neither HV_GetProgramInterface nor HV_GetInterface.";
constexpr const char* kProgramEntryFailedText = "HVI_BindProgram: %s did not return a program interface.";
constexpr const char* kProgramWrongVersionText =
    "HVI_BindProgram: the program was built for engine interface %u.%u, this engine needs %u.%u.";
constexpr const char* kProgramBoundText = "Program '%s' bound through %s (interface %u.%u.%u).";
