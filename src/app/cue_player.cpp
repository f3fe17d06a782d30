#include "app/cue_player.h"

#include <QAudioDevice>
#include <QDir>
#include <QFileInfo>
#include <QMediaDevices>
#include <QSoundEffect>
#include <QUrl>

#include <map>
#include <memory>

namespace morvane {

struct CuePlayer::Impl {
    // One effect per cue file, loaded once and replayed from memory.
    std::map<QString, std::unique_ptr<QSoundEffect>> effects;
};

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

}  // namespace

CuePlayer::CuePlayer(QString folder) : folder_(QDir(folder).absolutePath()) {}

CuePlayer::~CuePlayer() { close(); }

const QStringList& CuePlayer::cueNames() {
    static const QStringList names{
        "move.wav", "no.wav", "won.wav", "lose.wav",
        "Yellow.wav", "red.wav", "blue.wav", "green.wav",
    };
    return names;
}

void CuePlayer::open() {
    if (impl_) return;
    impl_ = new Impl;
    if (!canSound()) return;
    for (const QString& name : cueNames()) {
        if (auto effect = load(folder_, name)) impl_->effects.emplace(name, std::move(effect));
    }
}

void CuePlayer::close() {
    delete impl_;  // stops and frees every effect
    impl_ = nullptr;
}

bool CuePlayer::holds(const QString& file) const {
    return impl_ && impl_->effects.count(file) > 0;
}

void CuePlayer::play(const QString& file) {
    QDir::setCurrent(folder_);
    if (!impl_) return;
    auto it = impl_->effects.find(file);
    if (it == impl_->effects.end()) {
        // Not among the files found at open(): look once more, so that a
        // cue that turns up later still plays.
        if (!canSound()) return;
        auto effect = load(folder_, file);
        if (!effect) return;
        it = impl_->effects.emplace(file, std::move(effect)).first;
    }
    it->second->play();
}

}  // namespace morvane
