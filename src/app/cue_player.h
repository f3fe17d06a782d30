#pragma once
// The cue player: plays the game's short WAV cues from the program's folder.
//
// open() loads every cue file found in the folder ahead of time, so that a
// cue starts at once when asked for. Cues never block the game: the sounds
// are opened, played and closed on a thread of their own, play() only asks
// that thread for a cue, and close() waits for it a bounded time. A missing
// file, a broken file, a machine without a sound server or audio device, or
// a sound server that stops answering simply makes no sound. Cues that
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
    // Whether `file` is loaded or being loaded, once everything asked of
    // the player before is done (for tests; waits a bounded time).
    bool holds(const QString& file) const;

    // Whether a close() had to leave the sounds' thread behind, waiting on
    // a sound server that does not answer.
    static bool left_running();
    // Ends the program with `status`: as exit() does, or, with sounds left
    // behind, at once, without freeing what their thread still uses.
    [[noreturn]] static void end_program(int status);

    // The file names of the game's cues, which open() loads ahead of time.
    static const QStringList& cue_names();

private:
    struct Impl;
    Impl* impl_ = nullptr;
    QString folder_;
};

}  // namespace morvane
