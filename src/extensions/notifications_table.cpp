#include "extensions/module_registry.h"
#include "extensions/service_tables.h"

namespace {

bool HV_Notification_IsAvailable() { return HVI_GetNotificationImplementation() != nullptr; }

void HV_Notification_RegisterForLocalNotifications()
{
    if (NotificationImplementation* implementation = HVI_GetNotificationImplementation())
        implementation->RegisterForLocalNotifications();
}

void HV_Notification_RemoveAllLocalNotifications()
{
    if (NotificationImplementation* implementation = HVI_GetNotificationImplementation())
        implementation->RemoveAllLocalNotifications();
}

void HV_Notification_SetLocalNotification(const char* first, const char* second, const char* third, int32_t number)
{
    if (NotificationImplementation* implementation = HVI_GetNotificationImplementation())
        implementation->SetLocalNotification(first, second, third, number);
}

HV_NotificationsInterface g_table = {
    HV_Notification_IsAvailable,
    HV_Notification_RegisterForLocalNotifications,
    HV_Notification_RemoveAllLocalNotifications,
    HV_Notification_SetLocalNotification,
};

}  // namespace

HV_NotificationsInterface* HVI_GetNotificationsInterface() { return &g_table; }
