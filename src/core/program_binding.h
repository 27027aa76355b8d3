#pragma once

// Loading the program library and binding its program block.

#include <windows.h>

#include <halvo/program.h>

enum class HVI_BindResult { Bound, NoLibrary, NoEntryPoint, EntryFailed, WrongVersion };

struct HVI_ProgramLibrary {
    HMODULE module = nullptr;
    HV_ProgramInterface* program = nullptr;  // block or the library's own (older entry point)
    HV_ProgramInterface block = {};          // filled by HV_GetProgramInterface
};

// Loads "res://prog.dll" when the resource folder has one, else "prog.dll"
// found by name, and binds the block through
// HV_GetProgramInterface (offered a zeroed block and HV_INTERFACE_VERSION) or
// the older HV_GetInterface, then checks for version 15.30. Every failure
// logs its line and leaves the library unloaded.
HVI_BindResult HVI_BindProgram(HVI_ProgramLibrary& library);
// Unloads the library; the block is gone afterwards.
void HVI_UnbindProgram(HVI_ProgramLibrary& library);
