#pragma once

// The engine's one event queue: any thread posts, the main thread delivers
// once per frame to the engine and then to the program's OnEvent.

#include <halvo/events.h>

#include <cstdint>

// Queues a copy of the 64-byte event. Any thread. False for a null event or a
// kind outside 1 to HV_EVENT_KIND_LIMIT - 1 (then nothing is queued or freed).
bool HV_PostEvent(const HV_Event* event);
bool HVI_QueueEvent(const HV_Event* event);
// Zeroes the record and sets its kind.
void HV_InitializeEvent(HV_Event* event, uint32_t kind);

// Frees the engine-allocated blocks an event of a payload kind carries.
using HVI_EventPayloadFreer = void (*)(HV_Event* event);
// Registers the freer for a kind (19, 37 and 38 by the extension services;
// 21 by the core itself). A later registration replaces an earlier one.
void HVI_RegisterEventPayloadFreer(uint32_t kind, HVI_EventPayloadFreer freer);
// Frees the event's payload blocks with the freer of its kind, if any.
void HVI_FreeEventPayload(HV_Event* event);

// Hands every event queued so far to the receiver in posting order, then
// frees each payload. Main thread. Events posted meanwhile wait for the next call.
using HVI_EventReceiver = void (*)(void* context, HV_Event* event);
void HVI_DeliverQueuedEvents(HVI_EventReceiver receiver, void* context);
// Frees the payloads of every event still queued and empties the queue (shutdown).
void HVI_DiscardQueuedEvents();
// The number of events waiting.
int HVI_GetQueuedEventCount();
