#include "core/main_thread_tasks.h"

#include "core/logging.h"
#include "foundation/array.h"
#include "foundation/critical_section.h"

namespace {

struct Task {
    HVI_MainThreadTask function;
    void* argument;
};

struct TaskQueue {
    CriticalSection lock;
    Array<Task> tasks;  // guarded by lock
};

TaskQueue& Queue()
{
    static TaskQueue queue;
    return queue;
}

}  // namespace

bool HVI_RunOnMainThread(HVI_MainThreadTask task, void* argument)
{
    if (!task) {
        HV_Log(HV_LOG_ERROR, "HVI_RunOnMainThread: task is null.");
        return false;
    }
    TaskQueue& queue = Queue();
    CriticalSectionScope scope(queue.lock);
    queue.tasks.Add(Task{task, argument});
    return true;
}

void HVI_RunMainThreadTasks()
{
    Array<Task> taken;
    {
        TaskQueue& queue = Queue();
        CriticalSectionScope scope(queue.lock);
        for (int i = 0; i < queue.tasks.GetCount(); ++i) {
            taken.Add(queue.tasks[i]);
        }
        queue.tasks.Clear();
    }
    for (int i = 0; i < taken.GetCount(); ++i) {
        taken[i].function(taken[i].argument);
    }
}
