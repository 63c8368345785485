#include "windows/ErrorMessageQueue.h"

namespace harmonet {

void TErrorMessageQueue::report(const QString& message)
{
    if (m_showing) {
        if (message != m_current && !m_waiting.contains(message)) {
            m_waiting.append(message);
        }
        return;
    }
    m_showing = true;
    m_current = message;
    for (;;) {
        try {
            m_show(m_current);
        } catch (...) {
            // A box that cannot be shown must not stop the ones after it.
        }
        if (m_waiting.isEmpty()) {
            break;
        }
        m_current = m_waiting.takeFirst();
    }
    m_current.clear();
    m_showing = false;
}

} // namespace harmonet
