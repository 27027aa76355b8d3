/* The classes an extension module implements: ExtensionModule, the base of
 * every service implementation and one abstract class per service kind, and
 * the type of the entry point HV_GetExtensionModuleInterface that a module
 * library exports. C++ only; included by <halvo.h> when compiled as C++.
 *
 * The engine knows a module only through these virtual operations, in this
 * order, and chooses an implementation by its answer to GetKind: a module may
 * be built without run-time type information and may put its classes in a
 * namespace of its own. Every default is inline, so a module library needs
 * nothing but this header. */
#ifndef HALVO_EXTENSIONS_H
#define HALVO_EXTENSIONS_H

#ifndef __cplusplus
#error "halvo/extensions.h declares C++ classes"
#endif

#include "halvo/core.h"
#include "halvo/services.h"

struct HV_EngineInterface;

class BaseImplementation {
public:
    virtual ~BaseImplementation() = default;
    /* The kind this object implements; the engine uses it as that kind's class. */
    virtual HV_ServiceKind GetKind() = 0;
    virtual const char* GetName() = 0;
    virtual bool Initialize() { return true; }
    virtual void Shutdown() {}
    virtual void Update() {}
    virtual bool IsAvailable() { return true; }
};

/* One abstract class per service kind; each appends its service's operations
 * after the seven of BaseImplementation, in this order. */

class AchievementsImplementation : public BaseImplementation {
public:
    HV_ServiceKind GetKind() override { return HV_SERVICE_ACHIEVEMENT; }
    virtual void Award(uint32_t player, const char* id) = 0;
    virtual void AwardProgress(uint32_t player, const char* id, int32_t progress) = 0;
    virtual bool CanShowAchievements() = 0;
    virtual void ShowAchievements(uint32_t player) = 0;
    virtual void StoreValue(const char* name, int32_t value) = 0;
    virtual int32_t ValueOf(const char* name) = 0;
};

class CloudImplementation : public BaseImplementation {
public:
    HV_ServiceKind GetKind() override { return HV_SERVICE_CLOUD; }
    virtual void PutData(const char* key, const void* data, uint32_t size) = 0;
    /* A new blob the caller frees, or null for a missing key. */
    virtual HV_Blob* ReadData(const char* key) = 0;
    virtual void RemoveData(const char* key) = 0;
};

class InAppPurchaseImplementation : public BaseImplementation {
public:
    HV_ServiceKind GetKind() override { return HV_SERVICE_IAP; }
    virtual void RequestItemData(const char* itemId) = 0;
    virtual void PurchaseItem(const char* itemId) = 0;
    virtual void RestorePurchases() = 0;
    virtual bool ShowPurchaseProgress() = 0;
};

class LeaderboardsImplementation : public BaseImplementation {
public:
    HV_ServiceKind GetKind() override { return HV_SERVICE_LEADERBOARDS; }
    /* The record is a copy the implementation may change. */
    virtual void AddScore(uint32_t player, HV_LeaderboardScore* score, const char* category) = 0;
    /* True promises exactly one result event later; false means none comes. */
    virtual bool RequestScores(int32_t start, int32_t count, int32_t filter, const char* category) = 0;
    virtual bool RequestScoresAroundUserRank(uint32_t player, int32_t count, const char* category) = 0;
    virtual const char* GetLocalPlayerName(uint32_t player) = 0;
    virtual bool Logout() = 0;
    virtual void OpenCategory(const char* category) = 0;
    virtual void Login(uint32_t player) = 0;
    /* 0 means not logged in. */
    virtual int32_t GetLocalPlayerState(uint32_t player) = 0;
    virtual bool IsBusy() = 0;
    virtual void LaunchLeaderboardView(uint32_t player, const char* category) = 0;
    /* The largest count one request may ask for. */
    virtual int32_t GetMaxScoreCount() = 0;
};

class NotificationImplementation : public BaseImplementation {
public:
    HV_ServiceKind GetKind() override { return HV_SERVICE_NOTIFICATION; }
    virtual void RegisterForLocalNotifications() = 0;
    virtual void RemoveAllLocalNotifications() = 0;
    virtual void SetLocalNotification(const char* first, const char* second, const char* third, int32_t number) = 0;
};

class SocialImplementation : public BaseImplementation {
public:
    HV_ServiceKind GetKind() override { return HV_SERVICE_SOCIAL; }
    virtual void Login() = 0;
    virtual void Logout() = 0;
    virtual int32_t GetLoginState() = 0;
    virtual SocialUser* RequestLocalUser(int32_t value) = 0;
    virtual void RefreshFriends() = 0;
    virtual HV_Bitmap* RequestProfilePicture(const char* userId, int32_t size) = 0;
};

class StatisticImplementation : public BaseImplementation {
public:
    HV_ServiceKind GetKind() override { return HV_SERVICE_STATISTIC; }
    virtual void SetStatistic(uint32_t first, uint32_t second, void* third, void* fourth) = 0;
};

class UGCImplementation : public BaseImplementation {
public:
    HV_ServiceKind GetKind() override { return HV_SERVICE_UGC; }
    virtual void Query() = 0;
    virtual bool QueryFinished() = 0;
    virtual int32_t QueryResultCount() = 0;
    virtual void* QueryResultItem(int32_t index) = 0;
    virtual void Subscribe(const char* item) = 0;
    virtual void Unsubscribe(const char* item) = 0;
    virtual uint64_t UploadItem(const char* item) = 0;
    virtual void WaitForUploads() = 0;
};

/* A module offers at most one implementation per service kind. */
class ExtensionModule {
public:
    virtual ~ExtensionModule() = default;
    /* The engine accepts a module only when it answers 1. */
    virtual int32_t GetInterfaceVersion() { return 1; }
    virtual const char* GetName() = 0;
    /* Creates the module's implementations from the enabled features. */
    virtual bool Initialize(HV_EngineInterface* engine) = 0;
    /* Deletes the implementations the module created and forgets them. */
    virtual void ReleaseImplementations() = 0;
    virtual bool ShouldPauseGame() { return false; }
    virtual void Update(float step) = 0;
    /* An answer text, or null when the module has none. */
    virtual const char* ExecuteCommand(const char* /*command*/, const char* /*argument*/) { return nullptr; }
    /* An implementation whose GetKind answers the kind, or null. */
    virtual BaseImplementation* GetImplementation(HV_ServiceKind kind) = 0;
};

/* The entry point every module library exports; the module it returns is the
 * engine's from then on. */
typedef ExtensionModule* (*HV_GetExtensionModuleInterfaceFunction)(void);

#endif
