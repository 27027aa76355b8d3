#pragma once

// Work other threads hand to the main thread: it runs at the end of the next
// frame, under MAIN_LOOP, in the order it was queued.

using HVI_MainThreadTask = void (*)(void* argument);

// Queues the task; any thread. False for a null task.
bool HVI_RunOnMainThread(HVI_MainThreadTask task, void* argument);
// Runs every task queued so far; main thread. Tasks queued meanwhile wait
// for the next call.
void HVI_RunMainThreadTasks();
