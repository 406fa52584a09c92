// Start-up of orvex-editor against a bare Qt main window on the same X
// display: both programs are started alternately, and the time from just
// before the process is spawned to the MapNotify of its first top-level
// window is taken. Prints each run, the medians and their ratio, and the
// median of the ratios of the back-to-back pairs.
//
//   bench_startup [--runs N] [--editor PATH] [--bare PATH]
//
// Needs an X display (DISPLAY); scripts/run-bench.sh gives it one under
// xvfb. Programs other than the two it starts must not map windows on that
// display while it runs.

#include <xcb/xcb.h>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
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

extern char **environ;

namespace {

using Clock = std::chrono::steady_clock;

struct Options
{
    int runs = 15;
    std::string editor;
    std::string bare;
};

std::filesystem::path ownFolder()
{
    return std::filesystem::canonical("/proc/self/exe").parent_path();
}

Options parse(int argc, char **argv)
{
    Options options;
    const std::filesystem::path here = ownFolder();
    // bench/startup/ of a build folder; the editor lives in src/editor/.
    options.editor = (here / "../../src/editor/orvex-editor").lexically_normal().string();
    options.bare = (here / "startup-bare-window").string();
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string key = argv[i];
        if (key == "--runs")
            options.runs = std::max(1, std::atoi(argv[i + 1]));
        else if (key == "--editor")
            options.editor = argv[i + 1];
        else if (key == "--bare")
            options.bare = argv[i + 1];
    }
    return options;
}

// Watches the root window for top-level windows being mapped.
class MapWatcher
{
public:
    MapWatcher()
    {
        m_connection = xcb_connect(nullptr, nullptr);
        if (xcb_connection_has_error(m_connection))
            return;
        const xcb_screen_t *screen = xcb_setup_roots_iterator(xcb_get_setup(m_connection)).data;
        const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
        xcb_void_cookie_t cookie =
            xcb_change_window_attributes_checked(m_connection, screen->root, XCB_CW_EVENT_MASK, &mask);
        if (xcb_generic_error_t *error = xcb_request_check(m_connection, cookie)) {
            std::free(error);
            return;
        }
        m_ok = true;
    }
    ~MapWatcher() { xcb_disconnect(m_connection); }

    bool ok() const { return m_ok; }

    // Drops whatever was reported before a program is started.
    void drain()
    {
        while (xcb_generic_event_t *event = xcb_poll_for_event(m_connection))
            std::free(event);
    }

    // The moment the next top-level window is mapped, or nothing when none
    // is within `limit`.
    std::optional<Clock::time_point> nextMap(Clock::duration limit)
    {
        const Clock::time_point deadline = Clock::now() + limit;
        for (;;) {
            while (xcb_generic_event_t *event = xcb_poll_for_event(m_connection)) {
                const bool mapped = (event->response_type & 0x7F) == XCB_MAP_NOTIFY
                    && !reinterpret_cast<xcb_map_notify_event_t *>(event)->override_redirect;
                std::free(event);
                if (mapped)
                    return Clock::now();
            }
            if (xcb_connection_has_error(m_connection))
                return std::nullopt;
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
            if (left.count() <= 0)
                return std::nullopt;
            pollfd fd{xcb_get_file_descriptor(m_connection), POLLIN, 0};
            ::poll(&fd, 1, int(left.count()));
        }
    }

private:
    xcb_connection_t *m_connection = nullptr;
    bool m_ok = false;
};

// Milliseconds from spawn to the first mapped window, or a negative number
// when the program did not show one.
double timeToMap(MapWatcher &watcher, const std::string &program)
{
    watcher.drain();
    char *argv[] = {const_cast<char *>(program.c_str()), nullptr};
    pid_t pid = 0;
    const Clock::time_point start = Clock::now();
    // Their chatter (Qt's warnings) would bury the table.
    posix_spawn_file_actions_t quiet;
    posix_spawn_file_actions_init(&quiet);
    posix_spawn_file_actions_addopen(&quiet, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&quiet, 2, "/dev/null", O_WRONLY, 0);
    const int spawned = posix_spawn(&pid, program.c_str(), &quiet, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&quiet);
    if (spawned != 0)
        return -1;
    const std::optional<Clock::time_point> mapped = watcher.nextMap(std::chrono::seconds(30));
    ::kill(pid, SIGTERM);
    int status = 0;
    ::waitpid(pid, &status, 0);
    if (!mapped)
        return -1;
    return std::chrono::duration<double, std::milli>(*mapped - start).count();
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

} // namespace

int main(int argc, char **argv)
{
    const Options options = parse(argc, argv);
    MapWatcher watcher;
    if (!watcher.ok()) {
        std::fprintf(stderr, "bench_startup: no X display to watch (DISPLAY=%s)\n",
                     std::getenv("DISPLAY") ? std::getenv("DISPLAY") : "");
        return 1;
    }
    // The programs must reach the X server too, whatever the other
    // benchmarks were told.
    ::setenv("QT_QPA_PLATFORM", "xcb", 1);

    // One unmeasured start of each fills the file and font caches.
    timeToMap(watcher, options.editor);
    timeToMap(watcher, options.bare);

    std::vector<double> editor, bare, pairRatios;
    std::printf("%-6s %12s %12s\n", "run", "editor_ms", "bare_ms");
    for (int run = 1; run <= options.runs; ++run) {
        const double e = timeToMap(watcher, options.editor);
        const double b = timeToMap(watcher, options.bare);
        if (e < 0 || b < 0) {
            std::fprintf(stderr, "bench_startup: %s showed no window within 30 s\n",
                         (e < 0 ? options.editor : options.bare).c_str());
            return 1;
        }
        editor.push_back(e);
        bare.push_back(b);
        pairRatios.push_back(e / b);
        std::printf("%-6d %12.1f %12.1f\n", run, e, b);
    }
    const double me = median(editor), mb = median(bare);
    std::printf("median %12.1f %12.1f\n", me, mb);
    std::printf("editor / bare window: %.2f (%d runs each, alternating)\n", me / mb, options.runs);
    // Steadier than the ratio of the medians when the machine's load
    // changes during the runs: each pair ran back to back.
    std::printf("median of the pairwise ratios: %.2f\n", median(pairRatios));
    return 0;
}
