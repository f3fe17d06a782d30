#include "app/cue_player.h"

#include <QDir>
#include <QSoundEffect>
#include <QUrl>

namespace morvane {

struct CuePlayer::Impl {
    QSoundEffect effect;
};

CuePlayer::CuePlayer(QString folder) : folder_(std::move(folder)) {}
CuePlayer::~CuePlayer() { close(); }

void CuePlayer::open() {
    if (!impl_) impl_ = new Impl;
}

void CuePlayer::close() {
    delete impl_;
    impl_ = nullptr;
}

void CuePlayer::play(const QString& file) {
    QDir::setCurrent(folder_);
    if (!impl_) return;
    impl_->effect.setSource(QUrl::fromLocalFile(QDir(folder_).filePath(file)));
    impl_->effect.play();
}

}  // namespace morvane
