#pragma once

// The module commands that the engine's extension-command dispatcher hands
// on: "SetLocalNotification" and "RemoveAllLocalNotifications" reach the
// chosen notification implementation, and then every module in search order
// is offered the command. The first module answer, or null.
const char* HVI_ExecuteModuleCommand(const char* command, const char* argument);
