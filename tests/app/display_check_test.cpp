// Whether the window can be shown, on made-up machines: which platforms the
// toolkit would try, and why each of them fails.

#include <gtest/gtest.h>

#include <map>
#include <set>

#include "app/display_check.h"

namespace morvane {
namespace {

struct Machine {
    std::map<std::string, std::string> environment;
    std::set<std::string> plugins{"xcb", "wayland"};
    std::set<std::string> x_servers;    // DISPLAY values that answer
    std::set<std::string> compositors;  // runtime folder + '/' + name, or a path

    std::string problem() const {
        return display_problem(DisplayProbe{[this](const char* name) -> std::optional<std::string> {
                                                const auto it = environment.find(name);
                                                if (it == environment.end()) return std::nullopt;
                                                return it->second;
                                            },
                                            [this](const std::string& name) { return plugins.count(name) > 0; },
                                            [this](const std::string& display) { return x_servers.count(display) > 0; },
                                            [this](const std::string& name, const std::string& folder) {
                                                return compositors.count(name[0] == '/' ? name : folder + '/' + name) >
                                                       0;
                                            }});
    }
};

Machine on(std::map<std::string, std::string> environment, std::set<std::string> plugins = {"xcb", "wayland"},
           std::set<std::string> x_servers = {}, std::set<std::string> compositors = {}) {
    Machine machine;
    machine.environment = std::move(environment);
    machine.plugins = std::move(plugins);
    machine.x_servers = std::move(x_servers);
    machine.compositors = std::move(compositors);
    return machine;
}

TEST(DisplayCheck, EachMachineGetsItsOwnLine) {
    const std::string none =
        "no display: neither DISPLAY nor WAYLAND_DISPLAY is set; the game needs an X11 or Wayland desktop";
    struct Case {
        const char* what;
        Machine machine;
        std::string problem;
    };
    const Case cases[] = {
        {"nothing set", on({}), none},
        {"an X server", on({{"DISPLAY", ":1"}}, {"xcb"}, {":1"}), ""},
        {"DISPLAY names no server", on({{"DISPLAY", ":598"}}), "no display: no X server answers on DISPLAY=:598"},
        {"a compositor", on({{"WAYLAND_DISPLAY", "w"}, {"XDG_RUNTIME_DIR", "/run/1"}}, {"wayland"}, {}, {"/run/1/w"}),
         ""},
        {"WAYLAND_DISPLAY names no compositor", on({{"WAYLAND_DISPLAY", "gone"}, {"XDG_RUNTIME_DIR", "/run/1"}}),
         "no display: no Wayland compositor answers on WAYLAND_DISPLAY=gone; DISPLAY is not set"},
        {"Wayland without its plugin",
         on({{"WAYLAND_DISPLAY", "w"}, {"XDG_RUNTIME_DIR", "/run/1"}}, {"xcb"}, {}, {"/run/1/w"}),
         "no display: the toolkit's Wayland plugin is not installed (Debian: qt6-wayland); DISPLAY is not set"},
        {"a dead compositor, X there",
         on({{"WAYLAND_DISPLAY", "w"}, {"DISPLAY", ":1"}, {"XDG_RUNTIME_DIR", "/run/1"}}, {"xcb", "wayland"}, {":1"}),
         ""},
        {"both dead", on({{"WAYLAND_DISPLAY", "w"}, {"DISPLAY", ":2"}, {"XDG_RUNTIME_DIR", "/run/1"}}),
         "no display: no Wayland compositor answers on WAYLAND_DISPLAY=w; no X server answers on DISPLAY=:2"},
        {"a Wayland session without a compositor", on({{"XDG_SESSION_TYPE", "wayland"}, {"XDG_RUNTIME_DIR", "/run/1"}}),
         "no display: WAYLAND_DISPLAY is not set and no Wayland compositor answers on wayland-0; DISPLAY is not set"},
        {"QT_QPA_PLATFORM=xcb ignores a compositor",
         on({{"QT_QPA_PLATFORM", "xcb"}, {"WAYLAND_DISPLAY", "w"}, {"XDG_RUNTIME_DIR", "/run/1"}}, {"xcb", "wayland"},
            {}, {"/run/1/w"}),
         "no display: DISPLAY is not set"},
        {"offscreen needs nothing", on({{"QT_QPA_PLATFORM", "offscreen"}}, {}), ""},
        {"a platform after a failing one", on({{"QT_QPA_PLATFORM", "xcb;offscreen"}}), ""},
    };
    for (const Case& c : cases) EXPECT_EQ(c.machine.problem(), c.problem) << c.what;
}

}  // namespace
}  // namespace morvane
