// Starts a program and reports, in milliseconds, how long after the start its first
// top-level window was mapped on the X display ($DISPLAY), then ends it.
//
// It watches the root window's substructure, so it needs a display without a
// window manager (a window manager maps frames, not the program's window).
// Usage: window_map_time PROGRAM [ARGS...]
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>
#include <xcb/xcb.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>

int main(int argc, char *argv[]) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: %s PROGRAM [ARGS...]\n", argv[0]);
    return 2;
  }
  xcb_connection_t *x = xcb_connect(nullptr, nullptr);
  if (xcb_connection_has_error(x)) {
    std::fprintf(stderr, "%s: cannot reach the display\n", argv[0]);
    return 2;
  }
  const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(x)).data->root;
  const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
  xcb_request_check(x, xcb_change_window_attributes_checked(x, root, XCB_CW_EVENT_MASK, &mask));

  const auto started = std::chrono::steady_clock::now();
  const pid_t child = fork();
  if (child == 0) {
    execvp(argv[1], argv + 1);
    _exit(127);
  }

  int status = 1;
  pollfd watched{xcb_get_file_descriptor(x), POLLIN, 0};
  while (status != 0) {
    if (poll(&watched, 1, 10000) <= 0) break;  // nothing within 10 s
    while (xcb_generic_event_t *event = xcb_poll_for_event(x)) {
      if ((event->response_type & 0x7f) == XCB_MAP_NOTIFY) {
        const auto *map = reinterpret_cast<xcb_map_notify_event_t *>(event);
        if (map->event == root && !map->override_redirect) {
          const std::chrono::duration<double, std::milli> took =
              std::chrono::steady_clock::now() - started;
          std::printf("%.1f\n", took.count());
          status = 0;
        }
      }
      std::free(event);
    }
    if (xcb_connection_has_error(x)) break;
  }
  kill(child, SIGTERM);
  waitpid(child, nullptr, 0);
  xcb_disconnect(x);
  return status;
}
