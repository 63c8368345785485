#include "sequencer/ProcessPriority.h"

#include <cerrno>
#include <sys/resource.h>

namespace harmonet {

namespace {
// How many nice steps playback asks for above the value it finds.
constexpr int raiseSteps = 10;
constexpr int highestNice = -20;
} // namespace

ProcessPriority::~ProcessPriority()
{
    restore();
}

void ProcessPriority::raise()
{
    if (m_raised) {
        return;
    }
    // The value is saved when playback starts rather than once at creation, so
    // that a change made meanwhile by someone else is what comes back.
    errno = 0;
    const int current = getpriority(PRIO_PROCESS, 0);
    if (current == -1 && errno != 0) {
        return;
    }
    const int target = current - raiseSteps < highestNice ? highestNice : current - raiseSteps;
    // Without the privilege to lower the nice value this fails; playback then
    // runs at the ordinary priority.
    if (target != current && setpriority(PRIO_PROCESS, 0, target) == 0) {
        m_saved = current;
        m_raised = true;
    }
}

void ProcessPriority::restore()
{
    if (m_raised) {
        setpriority(PRIO_PROCESS, 0, m_saved);
        m_raised = false;
    }
}

} // namespace harmonet
