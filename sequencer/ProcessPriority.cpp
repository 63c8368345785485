#include "sequencer/ProcessPriority.h"

#include <cerrno>
#include <sys/resource.h>

namespace harmonet {

namespace {
// How many nice steps playback asks for above the value found at creation.
constexpr int raiseSteps = 10;
constexpr int highestNice = -20;
} // namespace

ProcessPriority::ProcessPriority()
{
    errno = 0;
    const int value = getpriority(PRIO_PROCESS, 0);
    m_known = !(value == -1 && errno != 0);
    m_saved = value;
}

ProcessPriority::~ProcessPriority()
{
    restore();
}

void ProcessPriority::raise()
{
    if (!m_known || m_raised) {
        return;
    }
    int target = m_saved - raiseSteps;
    if (target < highestNice) {
        target = highestNice;
    }
    // Without the privilege to lower the nice value this fails; playback then
    // runs at the ordinary priority.
    m_raised = target != m_saved && setpriority(PRIO_PROCESS, 0, target) == 0;
}

void ProcessPriority::restore()
{
    if (m_raised) {
        setpriority(PRIO_PROCESS, 0, m_saved);
        m_raised = false;
    }
}

} // namespace harmonet
