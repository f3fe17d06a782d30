#pragma once
// Whether the game's window can be shown at all, found out before the
// toolkit is asked to start: the toolkit aborts (a core dump and a hint to
// reinstall) when its platform finds no desktop, instead of failing.
//
// The toolkit tries its platforms in order until one starts: the list in
// QT_QPA_PLATFORM when that is set; otherwise Wayland first when
// WAYLAND_DISPLAY is set (or the session says it is a Wayland one), then
// X11. An X11 platform needs its plugin and an X server answering on
// DISPLAY; a Wayland one its plugin and a compositor answering on
// WAYLAND_DISPLAY (wayland-0 when unset). Any other platform (offscreen,
// say) needs no desktop.

#include <functional>
#include <optional>
#include <string>

class QString;

namespace morvane {

// What the check looks at, so that it can be tried on made-up machines.
struct DisplayProbe {
    // An environment variable, nothing when it is unset.
    std::function<std::optional<std::string>(const char* name)> variable;
    // Whether the toolkit's plugin for platform `name` ("xcb", "wayland")
    // is installed.
    std::function<bool(const std::string& name)> has_plugin;
    // Whether an X server answers on `display` (DISPLAY's form).
    std::function<bool(const std::string& display)> x_answers;
    // Whether a Wayland compositor listens on socket `name` (WAYLAND_DISPLAY's
    // form: a name in `runtime_folder`, or an absolute path).
    std::function<bool(const std::string& name, const std::string& runtime_folder)> wayland_answers;
};

// Why no platform the toolkit would try can show the window, as one line
// ("no display: ..."); empty when one can.
std::string display_problem(const DisplayProbe& probe);

// The same for this process, on this machine.
QString missing_display();
// Once the toolkit has started: lets go of what the check held open.
void display_check_done();

}  // namespace morvane
