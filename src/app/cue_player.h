#pragma once
// The cue player: plays the game's short WAV cues from the program's folder.

#include <QString>

namespace morvane {

class CuePlayer {
public:
    explicit CuePlayer(QString folder);
    ~CuePlayer();
    CuePlayer(const CuePlayer&) = delete;
    CuePlayer& operator=(const CuePlayer&) = delete;

    void open();   // when the window loads
    void close();  // when the window unloads
    // Makes the program's folder the current directory and plays `file` from
    // there without waiting. A missing or unplayable file stays silent.
    void play(const QString& file);

private:
    struct Impl;
    Impl* impl_ = nullptr;
    QString folder_;
};

}  // namespace morvane
