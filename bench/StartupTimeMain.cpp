// harmonet-bench-startup: time from starting a program to its first window
// being mapped, measured from outside on a private Xvfb display. An X client
// listens for MapNotify on the root window (no window manager runs, so a
// program's top-level window is a child of the root) and takes the time on a
// monotonic clock from just before the fork to the event's arrival.
//
// The bare Qt window and every program given are started in turn, round after
// round, so that a busy machine slows them alike; each run gets a fresh
// XDG_CONFIG_HOME, so no user settings are read or written. One warm-up round
// is not counted. Prints median and p90 per program and each program's
// median minus the bare window's.
//
//   harmonet-bench-startup [--runs N] [--song FILE] [PROGRAM...]
//
// Each PROGRAM is started as "PROGRAM FILE" (default: this build's player and
// the example song).
#include "tests/support/PrivateXvfb.h"

#include <xcb/xcb.h>

#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

struct Subject {
    std::string label;
    std::vector<std::string> argv;
    std::vector<double> startupMs;
    int failures = 0;
};

// Waits for the next MapNotify on the root window; nothing on timeout.
std::optional<Clock::time_point> waitForMap(xcb_connection_t* connection, Clock::time_point deadline)
{
    const int fd = xcb_get_file_descriptor(connection);
    for (;;) {
        while (xcb_generic_event_t* event = xcb_poll_for_event(connection)) {
            const auto now = Clock::now();
            const bool mapped = (event->response_type & 0x7f) == XCB_MAP_NOTIFY;
            std::free(event);
            if (mapped) {
                return now;
            }
        }
        if (xcb_connection_has_error(connection)) {
            return std::nullopt;
        }
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        if (left.count() <= 0) {
            return std::nullopt;
        }
        pollfd p{fd, POLLIN, 0};
        poll(&p, 1, static_cast<int>(left.count()));
    }
}

void drainEvents(xcb_connection_t* connection)
{
    free(xcb_get_input_focus_reply(connection, xcb_get_input_focus(connection), nullptr));
    while (xcb_generic_event_t* event = xcb_poll_for_event(connection)) {
        std::free(event);
    }
}

// Starts the subject once with a fresh configuration folder and returns the
// time to its first mapped window, or nothing when none came within 15 s.
std::optional<double> measureOnce(xcb_connection_t* connection, const std::string& display,
                                  const std::vector<std::string>& argv)
{
    char configTemplate[] = "/tmp/harmonet-bench-startup-XXXXXX";
    if (!mkdtemp(configTemplate)) {
        return std::nullopt;
    }
    const std::string configHome = configTemplate;
    drainEvents(connection);

    std::vector<char*> args;
    for (const std::string& arg : argv) {
        args.push_back(const_cast<char*>(arg.c_str()));
    }
    args.push_back(nullptr);

    const auto started = Clock::now();
    const pid_t child = fork();
    if (child == 0) {
        setenv("DISPLAY", display.c_str(), 1);
        setenv("XDG_CONFIG_HOME", configHome.c_str(), 1);
        setenv("QT_QPA_PLATFORM", "xcb", 1);
        std::freopen("/dev/null", "w", stdout);
        std::freopen("/dev/null", "w", stderr);
        execv(args[0], args.data());
        _exit(127);
    }
    std::optional<double> result;
    if (child > 0) {
        if (const auto mapped = waitForMap(connection, started + std::chrono::seconds(15))) {
            result = std::chrono::duration<double, std::milli>(*mapped - started).count();
        }
        kill(child, SIGTERM);
        waitpid(child, nullptr, 0);
    }
    std::filesystem::remove_all(configHome);
    return result;
}

double percentile(std::vector<double> values, double fraction)
{
    std::sort(values.begin(), values.end());
    const double rank = fraction * static_cast<double>(values.size() - 1);
    const auto low = static_cast<std::size_t>(rank);
    const std::size_t high = std::min(low + 1, values.size() - 1);
    return values[low] + (values[high] - values[low]) * (rank - static_cast<double>(low));
}

std::string absolute(const std::string& path)
{
    return std::filesystem::absolute(path).string();
}

} // namespace

int main(int argc, char** argv)
{
    int runs = 15;
    std::string song = HARMONET_EXAMPLE_SONG;
    std::vector<std::string> programs;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--runs" && i + 1 < argc) {
            runs = std::max(1, std::atoi(argv[++i]));
        } else if (arg == "--song" && i + 1 < argc) {
            song = absolute(argv[++i]);
        } else if (arg.rfind("--", 0) == 0) {
            std::fprintf(stderr, "usage: %s [--runs N] [--song FILE] [PROGRAM...]\n", argv[0]);
            return 2;
        } else {
            programs.push_back(absolute(arg));
        }
    }
    if (programs.empty()) {
        programs.push_back(HARMONET_PLAYER);
    }

    std::vector<Subject> subjects;
    subjects.push_back({"bare Qt window", {HARMONET_BARE_WINDOW}, {}, 0});
    for (const std::string& program : programs) {
        subjects.push_back({program, {program, song}, {}, 0});
    }

    harmonet::test::PrivateXvfb xvfb;
    if (!xvfb.start()) {
        std::printf("harmonet-bench-startup: skipped, no Xvfb could be started\n");
        return 0;
    }
    xcb_connection_t* connection = xcb_connect(xvfb.display().c_str(), nullptr);
    if (xcb_connection_has_error(connection)) {
        std::fprintf(stderr, "harmonet-bench-startup: cannot connect to %s\n", xvfb.display().c_str());
        xcb_disconnect(connection);
        return 1;
    }
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(connection)).data;
    const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(connection, screen->root, XCB_CW_EVENT_MASK, &mask);
    xcb_flush(connection);

    for (int round = 0; round <= runs; ++round) {
        for (Subject& subject : subjects) {
            const auto ms = measureOnce(connection, xvfb.display(), subject.argv);
            if (round == 0) {
                continue; // warm-up: disk cache, font cache
            }
            if (ms) {
                subject.startupMs.push_back(*ms);
            } else {
                ++subject.failures;
            }
        }
    }
    xcb_disconnect(connection);
    xvfb.stop();

    std::printf("time from start to first mapped window, %d runs each (ms)\n", runs);
    const double bareMedian =
        subjects[0].startupMs.empty() ? 0.0 : percentile(subjects[0].startupMs, 0.5);
    int status = 0;
    for (const Subject& subject : subjects) {
        if (subject.startupMs.empty()) {
            std::printf("  %-50s no window shown\n", subject.label.c_str());
            status = 1;
            continue;
        }
        const double median = percentile(subject.startupMs, 0.5);
        std::printf("  %-50s median %7.1f  p90 %7.1f  min %7.1f  median-bare %+7.1f", subject.label.c_str(),
                    median, percentile(subject.startupMs, 0.9),
                    *std::min_element(subject.startupMs.begin(), subject.startupMs.end()),
                    median - bareMedian);
        if (subject.failures > 0) {
            std::printf("  (%d runs showed no window)", subject.failures);
            status = 1;
        }
        std::printf("\n");
    }
    return status;
}
