#pragma once

// The extension-command dispatcher: string-keyed requests with one text
// argument and a text answer or none. The engine's own commands answer
// first (including those other subsystems register, e.g. the "IAP_" commands
// and music), then the extension modules, then the platform, renderer and
// input commands.

// Answers a command; null when nobody knows it. The answer stays valid until
// the next command on the same thread.
const char* HV_ExtensionCommand(const char* command, const char* argument);

using HVI_CommandHandler = const char* (*)(const char* command, const char* argument);
enum class HVI_CommandMatch { Exact, Prefix };
// Adds an own command of the engine: a whole name, or every command that
// begins with name. Earlier registrations are asked first.
void HVI_RegisterEngineCommand(const char* name, HVI_CommandMatch match, HVI_CommandHandler handler);
// Forgets every registered own command (tests).
void HVI_ResetEngineCommands();
