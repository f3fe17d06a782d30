#include "app/display_check.h"

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>
#include <xcb/xcb.h>

#include <QDir>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QString>
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace morvane {

namespace {

std::vector<std::string> split(const std::string& text, char separator) {
    std::vector<std::string> parts;
    std::string part;
    for (const char c : text + separator) {
        if (c != separator) {
            part += c;
        } else if (!part.empty()) {
            parts.push_back(part);
            part.clear();
        }
    }
    return parts;
}

std::string trimmed(const std::string& text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string::npos) return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// The platforms the toolkit tries, in its order, as it picks them when
// QT_QPA_PLATFORM is unset.
std::vector<std::string> platforms(const DisplayProbe& probe) {
    if (const auto chosen = probe.variable("QT_QPA_PLATFORM"); chosen && !chosen->empty()) {
        std::vector<std::string> names;
        for (const std::string& entry : split(*chosen, ';')) names.push_back(trimmed(entry.substr(0, entry.find(':'))));
        return names;
    }
    const bool wayland_session = probe.variable("XDG_SESSION_TYPE") == std::optional<std::string>("wayland");
    if (probe.variable("WAYLAND_DISPLAY") || wayland_session) return {"wayland", "xcb"};
    return {"xcb"};
}

}  // namespace

std::string display_problem(const DisplayProbe& probe) {
    const std::optional<std::string> x_display = probe.variable("DISPLAY");
    const std::optional<std::string> wayland_display = probe.variable("WAYLAND_DISPLAY");
    std::vector<std::string> reasons;
    for (const std::string& name : platforms(probe)) {
        const bool x = name == "xcb", wayland = name.rfind("wayland", 0) == 0;
        if (!x && !wayland) return {};  // offscreen, say: no desktop needed
        std::string reason;
        if (x) {
            if (!x_display || x_display->empty()) {
                reason = "DISPLAY is not set";
            } else {
                if (!probe.has_plugin(name))
                    reason = "the toolkit's X11 plugin is not installed (Debian: qt6-qpa-plugins)";
                else if (!probe.x_answers(*x_display))
                    reason = "no X server answers on DISPLAY=" + *x_display;
            }
        } else if (!probe.variable("WAYLAND_SOCKET")) {
            const std::string socket = wayland_display ? *wayland_display : "wayland-0";
            if (!probe.has_plugin(name))
                reason = "the toolkit's Wayland plugin is not installed (Debian: qt6-wayland)";
            else if (!probe.wayland_answers(socket, probe.variable("XDG_RUNTIME_DIR").value_or("")))
                reason = wayland_display ? "no Wayland compositor answers on WAYLAND_DISPLAY=" + socket
                                         : "WAYLAND_DISPLAY is not set and no Wayland compositor answers on " + socket;
        } else if (!probe.has_plugin(name)) {
            reason = "the toolkit's Wayland plugin is not installed (Debian: qt6-wayland)";
        }
        if (reason.empty()) return {};
        if (std::find(reasons.begin(), reasons.end(), reason) == reasons.end()) reasons.push_back(reason);
    }
    // Where no desktop is named at all, that is the one thing to say.
    const bool wayland_session = probe.variable("XDG_SESSION_TYPE") == std::optional<std::string>("wayland");
    if (!x_display && !wayland_display && !wayland_session && !probe.variable("WAYLAND_SOCKET"))
        return "no display: neither DISPLAY nor WAYLAND_DISPLAY is set; the game needs an X11 or Wayland desktop";
    std::string line = "no display: ";
    for (std::size_t i = 0; i < reasons.size(); ++i) line += (i ? "; " : "") + reasons[i];
    return line;
}

namespace {

// Where the toolkit looks for its platform plugins.
QStringList plugin_folders() {
    QStringList folders;
    if (const QString path = qEnvironmentVariable("QT_QPA_PLATFORM_PLUGIN_PATH"); !path.isEmpty()) folders << path;
    for (const QString& path : qEnvironmentVariable("QT_PLUGIN_PATH").split(QDir::listSeparator(), Qt::SkipEmptyParts))
        folders << path + QStringLiteral("/platforms");
    folders << QLibraryInfo::path(QLibraryInfo::PluginsPath) + QStringLiteral("/platforms");
    // The program's own folder (no application object yet to ask).
    folders << QFileInfo(QStringLiteral("/proc/self/exe")).canonicalPath() + QStringLiteral("/platforms");
    return folders;
}

bool plugin_installed(const std::string& name) {
    // The plugins' file names: libqxcb.so, libqwayland-generic.so for
    // "wayland", libqwayland-egl.so for "wayland-egl", ...
    QString file = QString::fromStdString(name);
    if (file == QStringLiteral("wayland")) file = QStringLiteral("wayland-generic");
    file = QStringLiteral("libq") + file + QStringLiteral(".so");
    for (const QString& folder : plugin_folders())
        if (QFileInfo(folder + u'/' + file).isFile()) return true;
    return false;
}

// The connection that asked, kept until the toolkit has its own: an X
// server with no other client resets when its last one leaves, and the
// toolkit's connection would meet a server in the middle of its reset.
xcb_connection_t* x_probe = nullptr;

bool x_server_answers(const std::string& display) {
    xcb_connection_t* connection = xcb_connect(display.c_str(), nullptr);
    if (xcb_connection_has_error(connection) != 0) {
        xcb_disconnect(connection);
        return false;
    }
    if (x_probe) xcb_disconnect(x_probe);
    x_probe = connection;
    return true;
}

// As the Wayland client library connects: to the socket at an absolute
// WAYLAND_DISPLAY, else to that name in the runtime folder.
bool compositor_answers(const std::string& name, const std::string& runtime_folder) {
    std::string path = name;
    if (name.empty() || name[0] != '/') {
        if (runtime_folder.empty()) return false;
        path = runtime_folder + '/' + name;
    }
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (path.size() >= sizeof address.sun_path) return false;
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return false;
    const bool answers = ::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
    ::close(fd);
    return answers;
}

}  // namespace

QString missing_display() {
    const DisplayProbe machine{[](const char* name) -> std::optional<std::string> {
                                   if (const char* value = std::getenv(name)) return std::string(value);
                                   return std::nullopt;
                               },
                               plugin_installed, x_server_answers, compositor_answers};
    return QString::fromStdString(display_problem(machine));
}

void display_check_done() {
    if (x_probe) xcb_disconnect(x_probe);
    x_probe = nullptr;
}

}  // namespace morvane
