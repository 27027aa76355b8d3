/* The online services of the engine interface: the service kinds, the score
 * record, the payloads of the leaderboard and social events, and the eight
 * service tables (members in alphabetical order). Usable from C and C++;
 * included by <halvo.h>. */
#ifndef HALVO_SERVICES_H
#define HALVO_SERVICES_H

#include "halvo/core.h"
#include "halvo/events.h"

#ifdef __cplusplus
extern "C" {
#endif

struct HV_Bitmap;
/* The social service's own record of a user; owned by the service. */
struct SocialUser;

/* The kind of an online service. */
typedef int32_t HV_ServiceKind;
enum {
    HV_SERVICE_NULL = 0,
    HV_SERVICE_CLOUD = 1,
    HV_SERVICE_LEADERBOARDS = 2,
    HV_SERVICE_ACHIEVEMENT = 3,
    HV_SERVICE_IAP = 4,
    HV_SERVICE_SOCIAL = 5,
    HV_SERVICE_UGC = 6,
    HV_SERVICE_NOTIFICATION = 7,
    HV_SERVICE_STATISTIC = 8
};

/* Leaderboard request filters. */
enum { HV_LEADERBOARD_FILTER_GLOBAL = 0, HV_LEADERBOARD_FILTER_FRIENDS = 1 };

enum { HV_LEADERBOARD_DATA_SIZE = 188 };

/* One score, passed by value to AddScore and delivered in arrays by event 19. */
typedef struct HV_LeaderboardScore {
    char id[64];     /* zero-terminated; its form is the implementation's */
    char player[64]; /* zero-terminated display name */
    int32_t points;
    int32_t rank; /* 1-based, filled by the implementation */
    uint8_t data[HV_LEADERBOARD_DATA_SIZE];
    int32_t dataLength; /* bytes of data in use, 0 to 188 */
    uint32_t timestamp; /* calendar seconds; 0 unless the implementation fills it */
} HV_LeaderboardScore;

HV_STATIC_ASSERT(sizeof(HV_LeaderboardScore) == 332, "HV_LeaderboardScore is 332 bytes");
HV_STATIC_ASSERT(offsetof(HV_LeaderboardScore, id) == 0, "id comes first");
HV_STATIC_ASSERT(offsetof(HV_LeaderboardScore, player) == 64, "player follows id");
HV_STATIC_ASSERT(offsetof(HV_LeaderboardScore, points) == 128, "points follows player");
HV_STATIC_ASSERT(offsetof(HV_LeaderboardScore, rank) == 132, "rank follows points");
HV_STATIC_ASSERT(offsetof(HV_LeaderboardScore, data) == 136, "data follows rank");
HV_STATIC_ASSERT(offsetof(HV_LeaderboardScore, dataLength) == 324, "dataLength follows data");
HV_STATIC_ASSERT(offsetof(HV_LeaderboardScore, timestamp) == 328, "timestamp follows dataLength");

/* The event records below overlay the 64-byte HV_Event, kind first. Their
 * texts and arrays are blocks of the engine allocator; the engine frees them
 * after the event has been delivered. */

/* Event 19: the answer to one leaderboard request. */
typedef struct HV_LeaderboardResultEvent {
    uint32_t kind;    /* 19 */
    uint32_t success; /* 1 for scores, 0 for an error */
    char* reason;     /* error text, else null */
    char* category;   /* the request's category id, or null */
    int32_t total;    /* scores the category holds under the filter */
    int32_t filter;
    int32_t start;
    int32_t count;               /* records in scores */
    HV_LeaderboardScore* scores; /* null when count is 0 */
} HV_LeaderboardResultEvent;

/* A user as handed over in social events. */
typedef struct HV_SocialUser {
    char* id;
    char* name;
    uint32_t value;
} HV_SocialUser;

/* Event 37: a social login succeeded. */
typedef struct HV_SocialLoginEvent {
    uint32_t kind;       /* 37 */
    uint32_t success;    /* 1 */
    void* reserved;      /* zero */
    HV_SocialUser* user; /* one record: the local user */
} HV_SocialLoginEvent;

/* Event 38: the friends list was refreshed. */
typedef struct HV_SocialFriendsEvent {
    uint32_t kind;        /* 38 */
    uint32_t reserved;    /* zero */
    HV_SocialUser* users; /* count records */
    uint32_t count;
} HV_SocialFriendsEvent;

enum { HV_EVENT_LEADERBOARD_RESULT = 19, HV_EVENT_SOCIAL_LOGIN = 37, HV_EVENT_SOCIAL_FRIENDS = 38 };

HV_STATIC_ASSERT(offsetof(HV_LeaderboardResultEvent, success) == 4, "success follows the kind");
HV_STATIC_ASSERT(offsetof(HV_LeaderboardResultEvent, reason) == 8, "reason follows success");
HV_STATIC_ASSERT(offsetof(HV_LeaderboardResultEvent, category) == 16, "category follows reason");
HV_STATIC_ASSERT(offsetof(HV_LeaderboardResultEvent, total) == 24, "total follows category");
HV_STATIC_ASSERT(offsetof(HV_LeaderboardResultEvent, filter) == 28, "filter follows total");
HV_STATIC_ASSERT(offsetof(HV_LeaderboardResultEvent, start) == 32, "start follows filter");
HV_STATIC_ASSERT(offsetof(HV_LeaderboardResultEvent, count) == 36, "count follows start");
HV_STATIC_ASSERT(offsetof(HV_LeaderboardResultEvent, scores) == 40, "scores follows count");
HV_STATIC_ASSERT(sizeof(HV_LeaderboardResultEvent) <= sizeof(HV_Event), "fits an HV_Event");
HV_STATIC_ASSERT(offsetof(HV_SocialUser, name) == 8, "name follows id");
HV_STATIC_ASSERT(offsetof(HV_SocialUser, value) == 16, "value follows name");
HV_STATIC_ASSERT(sizeof(HV_SocialUser) == 24, "HV_SocialUser is two texts and a value");
HV_STATIC_ASSERT(offsetof(HV_SocialLoginEvent, success) == 4, "success follows the kind");
HV_STATIC_ASSERT(offsetof(HV_SocialLoginEvent, reserved) == 8, "reserved follows success");
HV_STATIC_ASSERT(offsetof(HV_SocialLoginEvent, user) == 16, "user follows reserved");
HV_STATIC_ASSERT(sizeof(HV_SocialLoginEvent) <= sizeof(HV_Event), "fits an HV_Event");
HV_STATIC_ASSERT(offsetof(HV_SocialFriendsEvent, reserved) == 4, "the zero word follows the kind");
HV_STATIC_ASSERT(offsetof(HV_SocialFriendsEvent, users) == 8, "users follow the zero word");
HV_STATIC_ASSERT(offsetof(HV_SocialFriendsEvent, count) == 16, "count follows users");
HV_STATIC_ASSERT(sizeof(HV_SocialFriendsEvent) <= sizeof(HV_Event), "fits an HV_Event");

typedef struct HV_AchievementsInterface {
    void (*Award)(uint32_t player, const char* id);
    void (*AwardProgress)(uint32_t player, const char* id, int32_t progress);
    bool (*CanShowAchievements)(void);
    void (*ShowAchievements)(uint32_t player);
    void (*StoreValue)(const char* name, int32_t value);
    int32_t (*ValueOf)(const char* name);
} HV_AchievementsInterface;

typedef struct HV_CloudInterface {
    bool (*IsAvailable)(void);
    void (*PutData)(const char* key, const void* data, uint32_t size);
    /* The caller frees a returned blob through the engine interface. */
    HV_Blob* (*ReadData)(const char* key);
    void (*RemoveData)(const char* key);
} HV_CloudInterface;

typedef struct HV_InAppPurchaseInterface {
    bool (*IsAvailable)(void);
    void (*PurchaseItem)(const char* itemId);
    void (*RequestItemData)(const char* itemId);
    void (*RestorePurchases)(void);
    bool (*ShowPurchaseProgress)(void);
} HV_InAppPurchaseInterface;

typedef struct HV_LeaderboardsInterface {
    void (*AddScore)(uint32_t player, HV_LeaderboardScore score, const char* category);
    bool (*FetchScores)(int32_t start, int32_t count, int32_t filter, const char* category);
    bool (*FetchScoresAroundUser)(uint32_t player, int32_t count, const char* category);
    bool (*IsBusy)(void);
    void (*LaunchLeaderboardView)(uint32_t player, const char* category);
    const char* (*LocalPlayerName)(uint32_t player);
    int32_t (*LocalPlayerState)(uint32_t player);
    void (*Login)(uint32_t player);
    bool (*Logout)(void);
    void (*OpenCategory)(const char* category);
    int32_t (*QueryCategoryCount)(void);
    const char* (*QueryCategoryId)(int32_t index);
    int32_t (*QueryCategoryIndex)(const char* category);
    bool (*QueryCategoryIsAscending)(const char* category);
    int32_t (*QueryMaxScoreCount)(void);
    const char* (*QueryParameter)(const char* category, const char* key);
} HV_LeaderboardsInterface;

typedef struct HV_NotificationsInterface {
    bool (*IsAvailable)(void);
    void (*RegisterForLocalNotifications)(void);
    void (*RemoveAllLocalNotifications)(void);
    void (*SetLocalNotification)(const char* first, const char* second, const char* third, int32_t number);
} HV_NotificationsInterface;

typedef struct HV_SocialInterface {
    bool (*IsAvailable)(void);
    void (*Login)(void);
    void (*Logout)(void);
    void (*RefreshFriends)(void);
    struct SocialUser* (*RequestLocalUser)(int32_t value);
    struct HV_Bitmap* (*RequestProfilePicture)(const char* userId, int32_t size);
} HV_SocialInterface;

typedef struct HV_StatisticsInterface {
    void (*SetStatistic)(uint32_t first, uint32_t second, void* third, void* fourth);
} HV_StatisticsInterface;

typedef struct HV_UGCInterface {
    bool (*IsAvailable)(void);
    void (*Query)(void);
    bool (*QueryFinished)(void);
    int32_t (*QueryResultCount)(void);
    void* (*QueryResultItem)(int32_t index);
    void (*Subscribe)(const char* item);
    void (*Unsubscribe)(const char* item);
    uint64_t (*UploadItem)(const char* item);
    void (*WaitForUploads)(void);
} HV_UGCInterface;

HV_STATIC_ASSERT(sizeof(HV_AchievementsInterface) == 6 * sizeof(void*), "six achievements operations");
HV_STATIC_ASSERT(sizeof(HV_CloudInterface) == 4 * sizeof(void*), "four cloud operations");
HV_STATIC_ASSERT(sizeof(HV_InAppPurchaseInterface) == 5 * sizeof(void*), "five in-app purchase operations");
HV_STATIC_ASSERT(sizeof(HV_LeaderboardsInterface) == 16 * sizeof(void*), "sixteen leaderboards operations");
HV_STATIC_ASSERT(sizeof(HV_NotificationsInterface) == 4 * sizeof(void*), "four notification operations");
HV_STATIC_ASSERT(sizeof(HV_SocialInterface) == 6 * sizeof(void*), "six social operations");
HV_STATIC_ASSERT(sizeof(HV_StatisticsInterface) == 1 * sizeof(void*), "one statistics operation");
HV_STATIC_ASSERT(sizeof(HV_UGCInterface) == 9 * sizeof(void*), "nine UGC operations");

#ifdef __cplusplus
}
#endif

#endif
