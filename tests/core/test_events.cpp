#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <thread>
#include <vector>

#include "core/events.h"
#include "core/memory.h"
#include "engine_test_support.h"

namespace {

constexpr uint32_t kPayloadKind = 40;  // a kind whose payload is one HV_Malloc block

struct PayloadEvent {
    uint32_t kind;
    uint32_t sender;
    int* serial;  // an HV_Malloc block holding the serial number
};
static_assert(sizeof(PayloadEvent) <= sizeof(HV_Event), "fits an event");

std::atomic<int> g_freed{0};

void FreePayload(HV_Event* event)
{
    PayloadEvent* payload = reinterpret_cast<PayloadEvent*>(event);
    HV_Free(payload->serial);
    payload->serial = nullptr;
    ++g_freed;
}

HV_Event MakePayloadEvent(uint32_t sender, int serial)
{
    HV_Event event;
    HV_InitializeEvent(&event, kPayloadKind);
    PayloadEvent* payload = reinterpret_cast<PayloadEvent*>(&event);
    payload->sender = sender;
    payload->serial = static_cast<int*>(HV_Malloc(sizeof(int)));
    *payload->serial = serial;
    return event;
}

struct Received {
    std::vector<int> serials;
    std::vector<uint32_t> kinds;
};

void Collect(void* context, HV_Event* event)
{
    Received* received = static_cast<Received*>(context);
    received->kinds.push_back(event->kind);
    if (event->kind == kPayloadKind) {
        received->serials.push_back(*reinterpret_cast<PayloadEvent*>(event)->serial);
    }
}

}  // namespace

class EventQueue : public testing::Test {
protected:
    void SetUp() override
    {
        g_freed = 0;
        HVI_RegisterEventPayloadFreer(kPayloadKind, FreePayload);
    }
    void TearDown() override { HVI_RegisterEventPayloadFreer(kPayloadKind, nullptr); }
};

TEST_F(EventQueue, EventsFromManyThreadsAreDeliveredExactlyOnceWithPayloadsFreed)
{
    constexpr int kThreads = 8;
    constexpr int kPerThread = 500;
    Received received;
    std::atomic<bool> posting{true};
    std::vector<std::thread> posters;
    for (int t = 0; t < kThreads; ++t) {
        posters.emplace_back([t] {
            for (int i = 0; i < kPerThread; ++i) {
                HV_Event event = MakePayloadEvent(static_cast<uint32_t>(t), t * kPerThread + i);
                EXPECT_TRUE(t % 2 ? HV_PostEvent(&event) : HVI_QueueEvent(&event));
            }
        });
    }
    // The main thread delivers frame after frame while the others post.
    std::thread stopper([&] {
        for (std::thread& poster : posters) {
            poster.join();
        }
        posting = false;
    });
    while (posting) {
        HVI_DeliverQueuedEvents(Collect, &received);
    }
    stopper.join();
    HVI_DeliverQueuedEvents(Collect, &received);

    ASSERT_EQ(static_cast<size_t>(kThreads * kPerThread), received.serials.size());
    std::vector<int> seen(kThreads * kPerThread, 0);
    for (int serial : received.serials) {
        ASSERT_GE(serial, 0);
        ASSERT_LT(serial, kThreads * kPerThread);
        ++seen[serial];
    }
    for (int count : seen) {
        EXPECT_EQ(1, count);
    }
    EXPECT_EQ(kThreads * kPerThread, g_freed.load());
    EXPECT_EQ(0, HVI_GetQueuedEventCount());
}

TEST_F(EventQueue, OneThreadsEventsKeepTheirOrder)
{
    for (int i = 0; i < 10; ++i) {
        HV_Event event = MakePayloadEvent(0, i);
        HV_PostEvent(&event);
    }
    Received received;
    HVI_DeliverQueuedEvents(Collect, &received);
    EXPECT_EQ((std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9}), received.serials);
}

TEST_F(EventQueue, PostedEventIsACopy)
{
    HV_Event event;
    HV_InitializeEvent(&event, HV_EVENT_KEY_DOWN);
    event.key.key = 65;
    HV_PostEvent(&event);
    event.key.key = 66;
    int key = 0;
    HVI_DeliverQueuedEvents(
        [](void* context, HV_Event* delivered) { *static_cast<int*>(context) = delivered->key.key; }, &key);
    EXPECT_EQ(65, key);
}

TEST_F(EventQueue, EventsPostedDuringDeliveryWaitForTheNextFrame)
{
    HV_Event event;
    HV_InitializeEvent(&event, HV_EVENT_CHARACTER);
    HV_PostEvent(&event);
    int delivered = 0;
    HVI_DeliverQueuedEvents(
        [](void* context, HV_Event* current) {
            ++*static_cast<int*>(context);
            HV_PostEvent(current);
        },
        &delivered);
    EXPECT_EQ(1, delivered);
    EXPECT_EQ(1, HVI_GetQueuedEventCount());
}

TEST_F(EventQueue, EventsStillQueuedAtShutdownHaveTheirPayloadsFreedAndOtherKindsAreLeftAlone)
{
    for (int i = 0; i < 3; ++i) {
        HV_Event event = MakePayloadEvent(0, i);
        HV_PostEvent(&event);
    }
    HV_Event event;
    HV_InitializeEvent(&event, HV_EVENT_KEY_UP);
    HV_PostEvent(&event);
    HVI_DiscardQueuedEvents();
    EXPECT_EQ(3, g_freed.load());
    EXPECT_EQ(0, HVI_GetQueuedEventCount());
}

TEST_F(EventQueue, NullAndOutOfRangeKindsAreRefusedWithALine)
{
    EXPECT_FALSE(HV_PostEvent(nullptr));
    HV_Event event;
    HV_InitializeEvent(&event, 0);
    EXPECT_FALSE(HV_PostEvent(&event));
    HV_InitializeEvent(&event, HV_EVENT_KIND_LIMIT);
    EXPECT_FALSE(HVI_QueueEvent(&event));
    EXPECT_EQ(0, HVI_GetQueuedEventCount());
    EXPECT_EQ(
        (std::vector<std::string>{"[ERROR] HV_PostEvent: event is null.", "[ERROR] HV_PostEvent: invalid event kind 0.",
                                  "[ERROR] HVI_QueueEvent: invalid event kind 64."}),
        LogCapture::AllWritten());
}

TEST_F(EventQueue, InitializeEventZeroesTheRecord)
{
    HV_Event event;
    std::memset(&event, 0xAB, sizeof(event));
    HV_InitializeEvent(&event, 21);
    EXPECT_EQ(21u, event.kind);
    for (size_t i = 4; i < sizeof(event); ++i) {
        EXPECT_EQ(0, event.bytes[i]);
    }
}

TEST_F(EventQueue, DroppedFilePathIsFreedAfterDelivery)
{
    HV_Event event;
    HV_InitializeEvent(&event, HV_EVENT_DROPPED_FILE);
    event.droppedFile.path = static_cast<char*>(HV_Malloc(16));
    std::strcpy(event.droppedFile.path, "level.xml");
    HV_PostEvent(&event);
    std::string seen;
    HVI_DeliverQueuedEvents(
        [](void* context, HV_Event* delivered) { *static_cast<std::string*>(context) = delivered->droppedFile.path; },
        &seen);
    EXPECT_EQ("level.xml", seen);  // the leak check of the sanitizer build proves the free
}
