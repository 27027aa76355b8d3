#include "core/main_thread_tasks.h"

#include "core/logging.h"
#include "foundation/array.h"
#include "foundation/shared_array.h"

namespace {

struct Task {
    HVI_MainThreadTask function;
    void* argument;
};

SharedArray<Task>& Queue()
{
    static SharedArray<Task> queue;
    return queue;
}

}  // namespace

bool HVI_RunOnMainThread(HVI_MainThreadTask task, void* argument)
{
    if (!task) {
        HV_Log(HV_LOG_ERROR, "HVI_RunOnMainThread: task is null.");
        return false;
    }
    Queue().Add(Task{task, argument});
    return true;
}

void HVI_RunMainThreadTasks()
{
    const Array<Task> taken = Queue().TakeAll();
    for (int i = 0; i < taken.GetCount(); ++i) {
        taken[i].function(taken[i].argument);
    }
}
