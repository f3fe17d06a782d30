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

// Names recorded in order until the next dump, each kept as the index of
// its first occurrence: the game names few different cues and help files,
// so a long script between two dumps costs two bytes an entry.
class NameRecord {
public:
    void append(const QString& name) {
        qsizetype at = names_.indexOf(name);
        if (at < 0 || at > 0xffff) {
            at = names_.size() > 0xffff ? 0xffff : names_.size();
            if (at < 0xffff) names_ << name;
        }
        order_.push_back(static_cast<quint16>(at));
    }
    QStringList names() const {
        QStringList all;
        all.reserve(qsizetype(order_.size()));
        for (const quint16 at : order_) all << names_.value(at);
        return all;
    }
    void clear() {
        order_.clear();
        order_.shrink_to_fit();
    }

private:
    QStringList names_;
    std::vector<quint16> order_;
};

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
    // The messages since the last dump, their texts kept as NameRecord
    // keeps names.
    class MessageRecord {
    public:
        void push_back(const Message& message) {
            texts_.append(message.text);
            titles_.append(message.title);
            icons_.push_back(message.icon);
        }
        std::vector<Message> all() const {
            const QStringList texts = texts_.names(), titles = titles_.names();
            std::vector<Message> messages;
            for (std::size_t i = 0; i < icons_.size(); ++i)
                messages.push_back({texts[qsizetype(i)], titles[qsizetype(i)], icons_[i]});
            return messages;
        }
        void clear() {
            texts_.clear();
            titles_.clear();
            icons_.clear();
            icons_.shrink_to_fit();
        }

    private:
        NameRecord texts_, titles_;
        std::vector<Icon> icons_;
    };
    NameRecord cues;
    MessageRecord messages;
    NameRecord help;
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
