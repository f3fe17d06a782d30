#include "app/cue_player.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMutex>
#include <QSemaphore>
#include <QSet>
#include <QThread>

#include <dlfcn.h>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include "app/cue_sounds.h"
#include "game/responses.h"

namespace morvane {

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
// program's life (it is never unloaded: the sound library's own threads
// may outlive every cue); null when the module is missing (the cues stay
// silent).
using OpenSounds = CueSounds* (*)(const QString&, const QStringList&);
OpenSounds sound_module() {
    static const OpenSounds entry = []() -> OpenSounds {
        const QByteArray path = QFile::encodeName(sound_module_path());
        void* module = dlopen(path.constData(), RTLD_NOW | RTLD_LOCAL | RTLD_NODELETE);
        if (!module) {
            qWarning("no sound: %s", dlerror());
            return nullptr;
        }
        return reinterpret_cast<OpenSounds>(dlsym(module, kCueSoundsEntry));
    }();
    return entry;
}

// How long close() waits for the cues' thread to stop and free every
// sound; a sound server that does not answer within it is left behind.
constexpr unsigned long kCloseWaitMs = 2000;
// How long holds() waits for the cues' thread (a question for tests).
constexpr int kQuestionWaitMs = 10000;
// Cues asked for while the thread is held up beyond this many are dropped.
constexpr int kMostWaitingCues = 8;

std::atomic<bool> cues_left_running = false;

}  // namespace

// What the window thread and the cues' thread share. It lives as long as
// either needs it: a thread left behind keeps it.
struct CueShared {
    std::unique_ptr<CueSounds> sounds;  // only ever touched on the cues' thread
    std::atomic<int> waiting = 0;       // plays asked for and not yet started
    QMutex mutex;
    QSet<QString> held;  // what sounds->holds() said, for holds()

    void note(const QString& file) {
        const bool holds = sounds && sounds->holds(file);
        const QMutexLocker lock(&mutex);
        if (holds)
            held.insert(file);
        else
            held.remove(file);
    }
};

struct CuePlayer::Impl {
    std::shared_ptr<CueShared> shared = std::make_shared<CueShared>();
    QThread* thread = new QThread;
    QObject* home = new QObject;  // lives on `thread`; work is posted to it

    template <typename Work>
    void post(Work work) {
        QMetaObject::invokeMethod(home, std::move(work), Qt::QueuedConnection);
    }
};

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

// The sounds are opened, played and closed on a thread of their own, so
// that a sound server that is slow or stops answering never holds up the
// window: the window thread only posts work to it.
void CuePlayer::open() {
    if (impl_) return;
    impl_ = new Impl;
    impl_->thread->setObjectName(QStringLiteral("cues"));
    impl_->home->moveToThread(impl_->thread);
    impl_->thread->start();
    impl_->post([shared = impl_->shared, folder = folder_] {
        if (const OpenSounds open_sounds = sound_module()) shared->sounds.reset(open_sounds(folder, cue_names()));
        for (const QString& name : cue_names()) shared->note(name);
    });
}

void CuePlayer::close() {
    if (!impl_) return;
    Impl* impl = std::exchange(impl_, nullptr);
    // Stops and frees every effect on the thread that made them.
    impl->post([shared = impl->shared] { shared->sounds.reset(); });
    impl->thread->quit();
    if (impl->thread->wait(kCloseWaitMs)) {
        delete impl->home;
        delete impl->thread;
        delete impl;
        return;
    }
    // The sound server does not answer: the thread is left to it, with
    // all it holds, and the program does not wait for it at its end.
    qWarning("the sound server does not answer; the cues are left behind");
    cues_left_running = true;
}

bool CuePlayer::left_running() { return cues_left_running; }

void CuePlayer::end_program(int status) {
    if (!left_running()) std::exit(status);
    // Ending normally would free the sound library's state under the
    // thread still waiting in it.
    std::fflush(nullptr);
    std::_Exit(status);
}

bool CuePlayer::holds(const QString& file) const {
    if (!impl_) return false;
    // Everything asked of the thread before is done first.
    auto done = std::make_shared<QSemaphore>();
    impl_->post([shared = impl_->shared, file, done] {
        shared->note(file);
        done->release();
    });
    if (!done->tryAcquire(1, kQuestionWaitMs)) return false;
    const QMutexLocker lock(&impl_->shared->mutex);
    return impl_->shared->held.contains(file);
}

void CuePlayer::play(const QString& file) {
    QDir::setCurrent(folder_);
    play_here(file);
}

void CuePlayer::play_here(const QString& file) {
    if (!impl_) return;
    CueShared& shared = *impl_->shared;
    if (shared.waiting.fetch_add(1) >= kMostWaitingCues) {
        --shared.waiting;
        return;
    }
    impl_->post([shared = impl_->shared, file] {
        --shared->waiting;
        if (shared->sounds) shared->sounds->play(file);
    });
}

}  // namespace morvane
