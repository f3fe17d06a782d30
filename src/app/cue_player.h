#pragma once
// The cue player: plays the game's short WAV cues from the program's folder.
//
// open() loads every cue file found in the folder ahead of time, so that a
// cue starts at once when asked for. Cues never block the game: play() only
// starts a cue and returns, and a missing file, a broken file, or a machine
// without a sound server or audio device simply makes no sound. Cues that
// overlap are mixed. The sounds themselves live in a module loaded at the
// first open() (cue_sounds.h); without it, the cues are silent.

#include <QString>
#include <QStringList>

namespace morvane {

class CuePlayer {
public:
    // `folder` is the program's folder; a relative path is taken relative to
    // the current directory at construction.
    explicit CuePlayer(QString folder);
    ~CuePlayer();
    CuePlayer(const CuePlayer&) = delete;
    CuePlayer& operator=(const CuePlayer&) = delete;

    void open();   // when the window loads
    void close();  // when the window unloads; open() may follow again
    // Makes the program's folder the current directory and plays `file` from
    // there without waiting. A missing or unplayable file stays silent, and
    // so does every cue while the player is closed.
    void play(const QString& file);
    // The same, when the caller has just made the program's folder the
    // current directory itself.
    void play_here(const QString& file);

    // The folder's absolute path.
    const QString& folder() const { return folder_; }
    // Whether the player is open (for tests).
    bool is_open() const { return impl_ != nullptr; }
    // Whether `file` is loaded or being loaded (for tests).
    bool holds(const QString& file) const;

    // The file names of the game's cues, which open() loads ahead of time.
    static const QStringList& cue_names();

private:
    struct Impl;
    Impl* impl_ = nullptr;
    QString folder_;
};

}  // namespace morvane
