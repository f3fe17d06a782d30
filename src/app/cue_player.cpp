#include "app/cue_player.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <dlfcn.h>
#include <memory>

#include "app/cue_sounds.h"
#include "game/responses.h"

namespace morvane {

struct CuePlayer::Impl {
    std::unique_ptr<CueSounds> sounds;  // null without the sound module
};

namespace {

// The folder of the running program's executable, links resolved.
QString executable_folder() {
    return QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath().section(QLatin1Char('/'), 0, -2);
}

// Where the sound module lies: beside the program, as in the build folder,
// or in the installed library folder reached from the program's folder.
QString sound_module_path() {
    const QDir program(executable_folder());
    const QString name = QStringLiteral("morvane_sound.so");
    if (program.exists(name)) return program.filePath(name);
    return QDir(program.filePath(QStringLiteral(MORVANE_INSTALLED_MODULE_DIR))).filePath(name);
}

// The sound module's entry point, loaded on first use and kept for the
// program's life; null when the module is missing (the cues stay silent).
using OpenSounds = CueSounds* (*)(const QString&, const QStringList&);
OpenSounds sound_module() {
    static const OpenSounds entry = []() -> OpenSounds {
        const QByteArray path = QFile::encodeName(sound_module_path());
        void* module = dlopen(path.constData(), RTLD_NOW | RTLD_LOCAL);
        if (!module) {
            qWarning("no sound: %s", dlerror());
            return nullptr;
        }
        return reinterpret_cast<OpenSounds>(dlsym(module, kCueSoundsEntry));
    }();
    return entry;
}

}  // namespace

CuePlayer::CuePlayer(QString folder) : folder_(QDir(folder).absolutePath()) {}

CuePlayer::~CuePlayer() { close(); }

const QStringList& CuePlayer::cue_names() {
    static const QStringList names = [] {
        QStringList all;
        for (const std::string_view cue : cue_files())
            all << QString::fromUtf8(cue.data(), static_cast<qsizetype>(cue.size()));
        return all;
    }();
    return names;
}

void CuePlayer::open() {
    if (impl_) return;
    impl_ = new Impl;
    if (const OpenSounds open_sounds = sound_module()) impl_->sounds.reset(open_sounds(folder_, cue_names()));
}

void CuePlayer::close() {
    delete impl_;  // stops and frees every effect
    impl_ = nullptr;
}

bool CuePlayer::holds(const QString& file) const { return impl_ && impl_->sounds && impl_->sounds->holds(file); }

void CuePlayer::play(const QString& file) {
    QDir::setCurrent(folder_);
    play_here(file);
}

void CuePlayer::play_here(const QString& file) {
    if (impl_ && impl_->sounds) impl_->sounds->play(file);
}

}  // namespace morvane
