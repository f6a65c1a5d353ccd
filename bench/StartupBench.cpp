// SPDX-FileCopyrightText: 2026 The Sipster team
//
// SPDX-License-Identifier: MIT

// Start-up benchmark: starts two programs in turn on the X display in $DISPLAY (a bare server,
// no window manager) and measures, for each run, the time from starting the process to its first
// window being mapped, and the process's peak resident memory at that moment; then the same to
// the first frame drawn into it (X's DAMAGE extension). Where $WAYLAND_DISPLAY names a weston
// started with --debug, it measures the same on weston too, to the first frame weston composites
// of the program's first window: the same moment as the first frame on X11.
//
//   startup_bench PROGRAM BASELINE [RUNS]
#include <algorithm>
#include <array>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <functional>
#include <memory>
#include <poll.h>
#include <set>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>
#include <xcb/damage.h>
#include <xcb/xcb.h>

extern char **environ;

namespace {

struct Sample
{
    double milliseconds = 0;
    double peakMiB = 0;
};

double peakResidentMiB(pid_t pid)
{
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind("VmHWM:", 0) == 0) {
            return std::strtod(line.c_str() + 6, nullptr) / 1024.0;
        }
    }
    return 0;
}

// Waits up to the timeout for the platform to show the program's first window.
using WaitForWindow = std::function<bool(int timeoutMs)>;

// X11: waits for the event `done` accepts, having dropped anything left over from the previous
// run.
WaitForWindow waitForX11Event(xcb_connection_t *connection,
                              std::function<bool(const xcb_generic_event_t &)> done)
{
    while (xcb_generic_event_t *event = xcb_poll_for_event(connection)) {
        std::free(event);
    }
    return [connection, done = std::move(done)](int timeoutMs) {
        const auto deadline
            = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
        pollfd descriptor {xcb_get_file_descriptor(connection), POLLIN, 0};
        while (std::chrono::steady_clock::now() < deadline) {
            while (xcb_generic_event_t *event = xcb_poll_for_event(connection)) {
                const bool accepted = done(*event);
                std::free(event);
                if (accepted) {
                    return true;
                }
            }
            poll(&descriptor, 1, 10);
        }
        return false;
    };
}

bool isMap(const xcb_generic_event_t &event)
{
    return (event.response_type & 0x7f) == XCB_MAP_NOTIFY;
}

// X11, to the first frame drawn: the root window's damage, which takes in what is drawn into
// the windows on it. Qt's windows have no background for the server to paint, so the first
// damage once the program's window is mapped is the program's own first drawing; damage before
// that (the previous run's window going) is let pass.
class RootDamage
{
public:
    RootDamage(xcb_connection_t *connection, xcb_window_t root)
        : m_connection(connection)
    {
        const xcb_query_extension_reply_t *extension
            = xcb_get_extension_data(connection, &xcb_damage_id);
        if (!extension || !extension->present) {
            return;
        }
        std::free(xcb_damage_query_version_reply(
            connection, xcb_damage_query_version(connection, 1, 1), nullptr));
        m_damage = xcb_generate_id(connection);
        xcb_damage_create(connection, m_damage, root, XCB_DAMAGE_REPORT_LEVEL_NON_EMPTY);
        m_notify = extension->first_event + XCB_DAMAGE_NOTIFY;
    }

    bool available() const { return m_notify != 0; }

    WaitForWindow waitForFirstFrame()
    {
        clear();
        auto mapped = std::make_shared<bool>(false);
        return waitForX11Event(m_connection, [this, mapped](const xcb_generic_event_t &event) {
            if (isMap(event)) {
                *mapped = true;
            } else if ((event.response_type & 0x7f) == m_notify) {
                if (*mapped) {
                    return true;
                }
                clear(); // reported again only once cleared
            }
            return false;
        });
    }

private:
    void clear()
    {
        xcb_damage_subtract(m_connection, m_damage, XCB_NONE, XCB_NONE);
        xcb_flush(m_connection);
    }

    xcb_connection_t *m_connection;
    xcb_damage_damage_t m_damage = 0;
    uint8_t m_notify = 0;
};

// Weston: its timeline debug stream names each surface the first time it reports on it, then
// reports each time it composites it ("core_flush_damage").
class WestonTimeline
{
public:
    WestonTimeline()
    {
        int fds[2];
        if (pipe(fds) != 0) {
            std::perror("pipe");
            std::exit(EXIT_FAILURE);
        }
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, fds[1], STDOUT_FILENO);
        posix_spawn_file_actions_addclose(&actions, fds[0]);
        char *argv[]
            = {const_cast<char *>("weston-debug"), const_cast<char *>("timeline"), nullptr};
        if (posix_spawnp(&m_pid, "weston-debug", &actions, nullptr, argv, environ) != 0) {
            std::perror("weston-debug");
            std::exit(EXIT_FAILURE);
        }
        posix_spawn_file_actions_destroy(&actions);
        close(fds[1]);
        m_fd = fds[0];
    }
    ~WestonTimeline()
    {
        kill(m_pid, SIGTERM);
        waitpid(m_pid, nullptr, 0);
        close(m_fd);
    }

    WaitForWindow waitForFirstFrame()
    {
        readLines(0, [](const std::string &) { return false; }); // what came before this run
        return [this](int timeoutMs) {
            std::set<std::string> surfaces; // those named since the run started
            return readLines(timeoutMs, [&surfaces](const std::string &line) {
                if (line.find("\"type\":\"weston_surface\"") != std::string::npos) {
                    surfaces.insert(field(line, "\"id\":"));
                    return false;
                }
                return line.find("\"N\":\"core_flush_damage\"") != std::string::npos
                    && surfaces.count(field(line, "\"ws\":")) > 0;
            });
        };
    }

private:
    static std::string field(const std::string &line, const char *name)
    {
        const std::size_t start = line.find(name);
        if (start == std::string::npos) {
            return {};
        }
        const std::size_t from = start + std::strlen(name);
        return line.substr(from, line.find_first_of(", }", from) - from);
    }

    // Reads whole lines until `done` says so (true) or the timeout passes (false).
    bool readLines(int timeoutMs, const std::function<bool(const std::string &)> &done)
    {
        const auto deadline
            = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
        pollfd descriptor {m_fd, POLLIN, 0};
        do {
            for (std::size_t end; (end = m_buffer.find('\n')) != std::string::npos;) {
                const std::string line = m_buffer.substr(0, end);
                m_buffer.erase(0, end + 1);
                if (done(line)) {
                    return true;
                }
            }
            if (poll(&descriptor, 1, 10) > 0) {
                std::array<char, 4096> chunk;
                const ssize_t got = read(m_fd, chunk.data(), chunk.size());
                if (got <= 0) {
                    return false;
                }
                m_buffer.append(chunk.data(), static_cast<std::size_t>(got));
            }
        } while (std::chrono::steady_clock::now() < deadline);
        return false;
    }

    pid_t m_pid = 0;
    int m_fd = -1;
    std::string m_buffer;
};

Sample runOnce(const WaitForWindow &waitForWindow, const char *program, char **environment)
{
    char *argv[] = {const_cast<char *>(program), nullptr};
    pid_t pid = 0;
    const auto start = std::chrono::steady_clock::now();
    posix_spawn_file_actions_t quiet;
    posix_spawn_file_actions_init(&quiet);
    posix_spawn_file_actions_addopen(&quiet, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    const int failed = posix_spawn(&pid, program, &quiet, nullptr, argv, environment);
    posix_spawn_file_actions_destroy(&quiet);
    if (failed != 0) {
        std::perror(program);
        std::exit(EXIT_FAILURE);
    }
    const bool shown = waitForWindow(20000);
    const auto end = std::chrono::steady_clock::now();
    kill(pid, SIGSTOP);
    Sample sample {std::chrono::duration<double, std::milli>(end - start).count(),
                   peakResidentMiB(pid)};
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
    if (!shown) {
        std::fprintf(stderr, "%s showed no window\n", program);
        std::exit(EXIT_FAILURE);
    }
    return sample;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const std::size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

// The environment with QT_QPA_PLATFORM set to the platform.
std::vector<char *> environmentFor(const char *platform)
{
    static std::vector<std::string> kept;
    kept.push_back(std::string("QT_QPA_PLATFORM=") + platform);
    std::vector<char *> environment {kept.back().data()};
    for (char **variable = environ; *variable; ++variable) {
        if (std::strncmp(*variable, "QT_QPA_PLATFORM=", 16) != 0) {
            environment.push_back(*variable);
        }
    }
    environment.push_back(nullptr);
    return environment;
}

struct Medians
{
    double milliseconds[2];
    double peakMiB[2];
};

// Runs both programs, interleaved and alternating which goes first so drift in the machine hits
// both alike, and prints the medians and the program's ratios to the baseline.
Medians compare(const char *where, const char *const programs[2], int runs, char **environment,
                const std::function<WaitForWindow()> &nextWindow)
{
    std::vector<double> times[2];
    std::vector<double> memory[2];
    runOnce(nextWindow(), programs[0], environment); // warm the file cache for both
    runOnce(nextWindow(), programs[1], environment);
    for (int run = 0; run < runs; ++run) {
        for (int i = 0; i < 2; ++i) {
            const int which = (run + i) % 2;
            const Sample sample = runOnce(nextWindow(), programs[which], environment);
            times[which].push_back(sample.milliseconds);
            memory[which].push_back(sample.peakMiB);
        }
    }
    Medians medians {};
    std::printf("%-40s %12s %16s\n", where, "to first show", "peak resident");
    for (int which = 0; which < 2; ++which) {
        medians.milliseconds[which] = median(times[which]);
        medians.peakMiB[which] = median(memory[which]);
        std::printf("%-40s %9.1f ms %12.1f MiB\n", programs[which], medians.milliseconds[which],
                    medians.peakMiB[which]);
    }
    std::printf("ratios over %d runs: time %.3f, memory %.3f\n\n", runs,
                medians.milliseconds[0] / medians.milliseconds[1],
                medians.peakMiB[0] / medians.peakMiB[1]);
    return medians;
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s PROGRAM BASELINE [RUNS]\n", argv[0]);
        return EXIT_FAILURE;
    }
    const int runs = argc > 3 ? std::atoi(argv[3]) : 21;
    const char *const programs[2] = {argv[1], argv[2]};

    xcb_connection_t *connection = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(connection)) {
        std::fprintf(stderr, "cannot open the display\n");
        return EXIT_FAILURE;
    }
    xcb_screen_t *screen = xcb_setup_roots_iterator(xcb_get_setup(connection)).data;
    const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(connection, screen->root, XCB_CW_EVENT_MASK, &mask);
    xcb_flush(connection);
    std::vector<char *> x11 = environmentFor("xcb");
    Medians onX11 = compare("on X11, to the map (median of runs)", programs, runs, x11.data(),
                            [connection] { return waitForX11Event(connection, isMap); });
    RootDamage damage(connection, screen->root);
    if (damage.available()) {
        onX11 = compare("on X11, to the first frame (median)", programs, runs, x11.data(),
                        [&damage] { return damage.waitForFirstFrame(); });
    } else {
        std::printf("the X server has no DAMAGE extension: no first-frame figure on X11\n");
    }
    xcb_disconnect(connection);
    std::printf("goal on X11: both ratios at most 1.05\n\n");

    if (std::getenv("WAYLAND_DISPLAY")) {
        WestonTimeline timeline;
        std::vector<char *> wayland = environmentFor("wayland");
        const Medians onWeston
            = compare("on weston (median of runs)", programs, runs, wayland.data(),
                      [&timeline] { return timeline.waitForFirstFrame(); });
        std::printf("on weston against X11 (the last figure there): %s %.3f, %s %.3f\n",
                    programs[0], onWeston.milliseconds[0] / onX11.milliseconds[0], programs[1],
                    onWeston.milliseconds[1] / onX11.milliseconds[1]);
    }
    return EXIT_SUCCESS;
}
