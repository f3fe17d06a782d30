#pragma once
// morvane-drive: plays a script of user actions against the real window and
// reads the widgets' state back as JSON.

#include <QString>
#include <QStringList>
#include <istream>
#include <ostream>
#include <vector>

#include "app/window.h"

namespace morvane {

// The game window as the driver runs it: message boxes are answered with
// OK at once, cues are not sounded and help is not opened; all three are
// recorded for the next dump.
class DrivenWindow : public GameWindow {
public:
    using GameWindow::GameWindow;

    void play_cue(std::string_view file) override;
    void message(std::string_view text, std::string_view title, Icon icon) override;
    void open_help(std::string_view file) override;

    struct Message {
        QString text, title;
        Icon icon;
    };
    QStringList cues;
    std::vector<Message> messages;
    QStringList help;
};

class Driver {
public:
    explicit Driver(DrivenWindow& window) : window_(window) {}

    // Runs the script; returns the exit status (0, or 2 for a line that
    // cannot be parsed, reported on `errors`).
    int run(std::istream& script, std::ostream& out, std::ostream& errors);

private:
    // Runs one line; returns an empty string or why it cannot be parsed.
    QString execute(const QString& line, std::ostream& out);
    QString dump();

    DrivenWindow& window_;
};

}  // namespace morvane
