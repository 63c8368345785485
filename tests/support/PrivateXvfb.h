#pragma once

#include <string>

#include <sys/types.h>

namespace harmonet::test {

// An X server of its own (Xvfb, one 1280x1024 screen, no TCP) on a display
// number it picks itself. It stops when this object goes, and dies with the
// process that started it if that ends first.
class PrivateXvfb {
public:
    PrivateXvfb() = default;
    ~PrivateXvfb();
    PrivateXvfb(const PrivateXvfb&) = delete;
    PrivateXvfb& operator=(const PrivateXvfb&) = delete;

    // Starts the server and waits until it names its display; false when
    // none could be started here.
    bool start();
    void stop();

    // ":N", once started.
    const std::string& display() const { return m_display; }

private:
    pid_t m_pid = -1;
    std::string m_display;
};

} // namespace harmonet::test
