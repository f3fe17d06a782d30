// The sound module: the cues as Qt Multimedia sound effects (see cue_sounds.h).

#include "app/cue_sounds.h"

#include <QAudioDevice>
#include <QDir>
#include <QFileInfo>
#include <QMediaDevices>
#include <QSoundEffect>
#include <QUrl>

#include <map>
#include <memory>

namespace morvane {
namespace {

// Whether there is anything to play the cues on. Without a sound server or
// audio device the cues are simply not loaded, and the game goes on in
// silence.
bool canSound() { return !QMediaDevices::defaultAudioOutput().isNull(); }

// Starts loading `file` from `folder`; null when there is no such file.
// Loading goes on in the background: an effect asked to play before it is
// ready starts as soon as it is.
std::unique_ptr<QSoundEffect> load(const QString& folder, const QString& file) {
    const QFileInfo info(QDir(folder).filePath(file));
    if (!info.isFile()) return nullptr;
    auto effect = std::make_unique<QSoundEffect>();
    effect->setSource(QUrl::fromLocalFile(info.absoluteFilePath()));
    return effect;
}

class Effects : public CueSounds {
public:
    Effects(const QString& folder, const QStringList& names) : folder_(folder), sound_(canSound()) {
        if (!sound_) return;
        for (const QString& name : names)
            if (auto effect = load(folder_, name)) effects_.emplace(name, std::move(effect));
    }

    bool holds(const QString& file) const override { return effects_.count(file) > 0; }

    void play(const QString& file) override {
        auto it = effects_.find(file);
        if (it == effects_.end()) {
            // Not among the files found at open(): look once more, so that
            // a cue that turns up later still plays.
            if (!sound_) return;
            auto effect = load(folder_, file);
            if (!effect) return;
            it = effects_.emplace(file, std::move(effect)).first;
        }
        it->second->play();
    }

private:
    QString folder_;
    bool sound_;
    // One effect per cue file, loaded once and replayed from memory.
    std::map<QString, std::unique_ptr<QSoundEffect>> effects_;
};

}  // namespace
}  // namespace morvane

extern "C" Q_DECL_EXPORT morvane::CueSounds* morvane_open_cue_sounds(const QString& folder,
                                                                     const QStringList& names) {
    return new morvane::Effects(folder, names);
}
