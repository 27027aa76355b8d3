#include "core/events.h"

#include <cstring>

#include "core/logging.h"
#include "core/memory.h"
#include "foundation/array.h"
#include "foundation/critical_section.h"
#include "foundation/shared_array.h"

namespace {

SharedArray<HV_Event>& Queue()
{
    static SharedArray<HV_Event> queue;
    return queue;
}

// The dropped file's path is the core's own payload.
void FreeDroppedFile(HV_Event* event)
{
    HV_Free(event->droppedFile.path);
    event->droppedFile.path = nullptr;
}

struct FreerTable {
    FreerTable() { freers[HV_EVENT_DROPPED_FILE] = FreeDroppedFile; }
    CriticalSection lock;
    HVI_EventPayloadFreer freers[HV_EVENT_KIND_LIMIT] = {};  // guarded by lock
};

FreerTable& Freers()
{
    static FreerTable table;
    return table;
}

bool Enqueue(const char* operation, const HV_Event* event)
{
    if (!event) {
        HV_Log(HV_LOG_ERROR, "%s: event is null.", operation);
        return false;
    }
    if (event->kind == 0 || event->kind >= HV_EVENT_KIND_LIMIT) {
        HV_Log(HV_LOG_ERROR, "%s: invalid event kind %u.", operation, event->kind);
        return false;
    }
    Queue().Add(*event);
    return true;
}

}  // namespace

bool HV_PostEvent(const HV_Event* event) { return Enqueue("HV_PostEvent", event); }

bool HVI_QueueEvent(const HV_Event* event) { return Enqueue("HVI_QueueEvent", event); }

void HV_InitializeEvent(HV_Event* event, uint32_t kind)
{
    if (!event) {
        HV_Log(HV_LOG_ERROR, "HV_InitializeEvent: event is null.");
        return;
    }
    std::memset(event, 0, sizeof(*event));
    event->kind = kind;
}

void HVI_RegisterEventPayloadFreer(uint32_t kind, HVI_EventPayloadFreer freer)
{
    if (kind == 0 || kind >= HV_EVENT_KIND_LIMIT) {
        HV_Log(HV_LOG_ERROR, "HVI_RegisterEventPayloadFreer: invalid event kind %u.", kind);
        return;
    }
    FreerTable& table = Freers();
    CriticalSectionScope scope(table.lock);
    table.freers[kind] = freer;
}

void HVI_FreeEventPayload(HV_Event* event)
{
    if (!event || event->kind == 0 || event->kind >= HV_EVENT_KIND_LIMIT) {
        return;
    }
    HVI_EventPayloadFreer freer;
    {
        FreerTable& table = Freers();
        CriticalSectionScope scope(table.lock);
        freer = table.freers[event->kind];
    }
    if (freer) {
        freer(event);
    }
}

void HVI_DeliverQueuedEvents(HVI_EventReceiver receiver, void* context)
{
    // Every queued event is taken out at once, so that receivers may post new
    // events without deadlocking and those wait for the next frame.
    Array<HV_Event> taken = Queue().TakeAll();
    for (int i = 0; i < taken.GetCount(); ++i) {
        if (receiver) {
            receiver(context, &taken[i]);
        }
        HVI_FreeEventPayload(&taken[i]);
    }
}

void HVI_DiscardQueuedEvents() { HVI_DeliverQueuedEvents(nullptr, nullptr); }

int HVI_GetQueuedEventCount() { return Queue().GetCount(); }
