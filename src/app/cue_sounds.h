#pragma once
// Between the cue player and its sound module (cue_sounds.cpp, built as
// morvane_sound.so beside the program). The module holds everything that
// needs Qt Multimedia and the sound server's libraries, so that the game
// loads them only when it opens its cues, after its first frame.

#include <QString>
#include <QStringList>

namespace morvane {

// The cues of one folder, loaded ahead of time and played from memory.
class CueSounds {
public:
    virtual ~CueSounds() = default;
    // Whether `file` is loaded or being loaded.
    virtual bool holds(const QString& file) const = 0;
    // Starts `file` (loading it first if it turned up since), without waiting.
    virtual void play(const QString& file) = 0;
};

}  // namespace morvane

// The module's one entry point: loads `names` from `folder`, or holds nothing
// when there is no sound server or audio device.
extern "C" morvane::CueSounds* morvane_open_cue_sounds(const QString& folder, const QStringList& names);
inline constexpr char kCueSoundsEntry[] = "morvane_open_cue_sounds";
