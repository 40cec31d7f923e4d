#include "platform/threadpriority.h"

#include <pthread.h>
#include <sched.h>
#include <sys/resource.h>
#include <unistd.h>

namespace ThreadPriority {

bool RaiseForAudio()
{
    sched_param parameters{};
    parameters.sched_priority = sched_get_priority_min(SCHED_FIFO);
    if (pthread_setschedparam(pthread_self(), SCHED_FIFO, &parameters) == 0)
        return true;
    return setpriority(PRIO_PROCESS, static_cast<id_t>(gettid()), -10) == 0;
}

} // namespace ThreadPriority
