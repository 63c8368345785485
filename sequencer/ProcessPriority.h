#pragma once

namespace harmonet {

// Raises the scheduling priority of the calling thread while playing, as far as
// the system permits, and puts back the value it had before.
class ProcessPriority {
public:
    ProcessPriority() = default;
    ~ProcessPriority();
    ProcessPriority(const ProcessPriority&) = delete;
    ProcessPriority& operator=(const ProcessPriority&) = delete;

    void raise();
    void restore();
    bool isRaised() const { return m_raised; }

private:
    int m_saved = 0;
    bool m_raised = false;
};

} // namespace harmonet
