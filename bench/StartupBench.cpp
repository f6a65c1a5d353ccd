// SPDX-FileCopyrightText: 2026 The Sipster team
//
// SPDX-License-Identifier: MIT

// Start-up benchmark: starts two programs in turn on the X display in $DISPLAY (a bare server,
// no window manager) and measures, for each run, the time from starting the process to its first
// window being mapped and the process's peak resident memory at that moment.
//
//   startup_bench PROGRAM BASELINE [RUNS]
#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <poll.h>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>
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

bool waitForMap(xcb_connection_t *connection, int timeoutMs)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    pollfd descriptor {xcb_get_file_descriptor(connection), POLLIN, 0};
    while (std::chrono::steady_clock::now() < deadline) {
        while (xcb_generic_event_t *event = xcb_poll_for_event(connection)) {
            const bool mapped = (event->response_type & 0x7f) == XCB_MAP_NOTIFY;
            std::free(event);
            if (mapped) {
                return true;
            }
        }
        poll(&descriptor, 1, 10);
    }
    return false;
}

Sample runOnce(xcb_connection_t *connection, const char *program)
{
    // Drop anything left over from the previous run.
    while (xcb_generic_event_t *event = xcb_poll_for_event(connection)) {
        std::free(event);
    }
    char *argv[] = {const_cast<char *>(program), nullptr};
    pid_t pid = 0;
    const auto start = std::chrono::steady_clock::now();
    posix_spawn_file_actions_t quiet;
    posix_spawn_file_actions_init(&quiet);
    posix_spawn_file_actions_addopen(&quiet, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    const int failed = posix_spawn(&pid, program, &quiet, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&quiet);
    if (failed != 0) {
        std::perror(program);
        std::exit(EXIT_FAILURE);
    }
    const bool mapped = waitForMap(connection, 20000);
    const auto end = std::chrono::steady_clock::now();
    kill(pid, SIGSTOP);
    Sample sample {std::chrono::duration<double, std::milli>(end - start).count(),
                   peakResidentMiB(pid)};
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
    if (!mapped) {
        std::fprintf(stderr, "%s mapped no window\n", program);
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

} // namespace

int main(int argc, char *argv[])
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s PROGRAM BASELINE [RUNS]\n", argv[0]);
        return EXIT_FAILURE;
    }
    const int runs = argc > 3 ? std::atoi(argv[3]) : 21;
    xcb_connection_t *connection = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(connection)) {
        std::fprintf(stderr, "cannot open the display\n");
        return EXIT_FAILURE;
    }
    xcb_screen_t *screen = xcb_setup_roots_iterator(xcb_get_setup(connection)).data;
    const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(connection, screen->root, XCB_CW_EVENT_MASK, &mask);
    xcb_flush(connection);

    const char *programs[] = {argv[1], argv[2]};
    std::vector<double> times[2];
    std::vector<double> memory[2];
    runOnce(connection, programs[0]); // warm the file cache for both
    runOnce(connection, programs[1]);
    for (int run = 0; run < runs; ++run) {
        // Interleaved, alternating which goes first, so drift in the machine hits both alike.
        for (int i = 0; i < 2; ++i) {
            const int which = (run + i) % 2;
            const Sample sample = runOnce(connection, programs[which]);
            times[which].push_back(sample.milliseconds);
            memory[which].push_back(sample.peakMiB);
        }
    }
    xcb_disconnect(connection);

    std::printf("%-40s %12s %16s\n", "program (median of runs)", "to first map", "peak resident");
    for (int which = 0; which < 2; ++which) {
        std::printf("%-40s %9.1f ms %12.1f MiB\n", programs[which], median(times[which]),
                    median(memory[which]));
    }
    const double timeRatio = median(times[0]) / median(times[1]);
    const double memoryRatio = median(memory[0]) / median(memory[1]);
    std::printf("ratios over %d runs: time %.3f, memory %.3f (goal: both at most 1.05)\n", runs,
                timeRatio, memoryRatio);
    return EXIT_SUCCESS;
}
