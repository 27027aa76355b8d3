#include "core/extension_command.h"

#include <cstring>

#include "core/logging.h"
#include "core/subsystem_hooks.h"
#include "foundation/array.h"
#include "foundation/shared_array.h"
#include "foundation/string.h"

namespace {

struct EngineCommand {
    String name;
    HVI_CommandMatch match;
    HVI_CommandHandler handler;
};

SharedArray<EngineCommand>& Table()
{
    static SharedArray<EngineCommand> table;
    return table;
}

bool Matches(const EngineCommand& entry, const char* command)
{
    if (entry.match == HVI_CommandMatch::Exact) {
        return entry.name == command;
    }
    return std::strncmp(command, entry.name.GetText(), static_cast<size_t>(entry.name.GetLength())) == 0;
}

// The roles asked after the engine's own commands, in order.
constexpr HVI_SubsystemRole kCommandRoles[] = {
    HVI_SUBSYSTEM_EXTENSIONS,  // module commands
    HVI_SUBSYSTEM_PLATFORM,
    HVI_SUBSYSTEM_RENDERER,
    HVI_SUBSYSTEM_INPUT,
};

}  // namespace

void HVI_RegisterEngineCommand(const char* name, HVI_CommandMatch match, HVI_CommandHandler handler)
{
    if (!name || !*name || !handler) {
        HV_Log(HV_LOG_ERROR, "HVI_RegisterEngineCommand: name and handler are required.");
        return;
    }
    Table().Add(EngineCommand{String(name), match, handler});
}

void HVI_ResetEngineCommands() { Table().Clear(); }

const char* HV_ExtensionCommand(const char* command, const char* argument)
{
    if (!command) {
        HV_Log(HV_LOG_ERROR, "HV_ExtensionCommand: command is null.");
        return nullptr;
    }
    Array<HVI_CommandHandler> handlers;
    Table().ForEach([&](const EngineCommand& entry) {
        if (Matches(entry, command)) handlers.Add(entry.handler);
    });
    for (int i = 0; i < handlers.GetCount(); ++i) {
        if (const char* answer = handlers[i](command, argument)) {
            return answer;
        }
    }
    for (HVI_SubsystemRole role : kCommandRoles) {
        const HVI_SubsystemHooks& hooks = HVI_GetSubsystemHooks(role);
        if (hooks.ExecuteCommand) {
            if (const char* answer = hooks.ExecuteCommand(command, argument)) {
                return answer;
            }
        }
    }
    return nullptr;
}
