#include "extensions/module_commands.h"

#include <cstdlib>
#include <cstring>

#include "extensions/module_registry.h"
#include "foundation/text.h"

namespace {

constexpr int kFieldSize = 1024;
constexpr int32_t kDefaultNotificationNumber = 5;

void SetLocalNotification(NotificationImplementation* notifications, const char* argument)
{
    char fields[4][kFieldSize];
    const char* texts[4];
    for (int i = 0; i < 4; ++i) texts[i] = HVI_GetToken(argument, ';', i, fields[i], kFieldSize);
    // atoi's rules, without its undefined overflow: strtol saturates.
    int32_t number = kDefaultNotificationNumber;
    if (texts[3] != nullptr) {
        const long value = std::strtol(texts[3], nullptr, 10);
        number = value > INT32_MAX ? INT32_MAX : value < INT32_MIN ? INT32_MIN : int32_t(value);
    }
    notifications->SetLocalNotification(texts[0], texts[1], texts[2], number);
}

}  // namespace

const char* HVI_ExecuteModuleCommand(const char* command, const char* argument)
{
    NotificationImplementation* notifications = HVI_GetNotificationImplementation();
    if (notifications != nullptr && command != nullptr) {
        if (std::strcmp(command, "SetLocalNotification") == 0)
            SetLocalNotification(notifications, argument);
        else if (std::strcmp(command, "RemoveAllLocalNotifications") == 0)
            notifications->RemoveAllLocalNotifications();
    }
    for (int i = 0; i < HVI_GetExtensionModuleCount(); ++i) {
        if (const char* answer = HVI_GetExtensionModule(i)->ExecuteCommand(command, argument)) return answer;
    }
    return nullptr;
}
