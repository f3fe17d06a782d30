// The sound module: the cues as Qt Multimedia sound effects (see cue_sounds.h).

#include "app/cue_sounds.h"

#include <QAudioDevice>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QMediaDevices>
#include <QSoundEffect>
#include <QUrl>

#include <map>
#include <memory>

#include "app/wav_check.h"

namespace morvane {
namespace {

// Whether there is anything to play the cues on. Without a sound server or
// audio device the cues are simply not loaded, and the game goes on in
// silence.
bool can_sound() { return !QMediaDevices::defaultAudioOutput().isNull(); }

// How long closing waits at most for cues still loading.
constexpr qint64 kLongestLoadMs = 1000;

// Whether `path` holds a cue the sound library can load to the end (see
// wav_check.h); a file that fails is refused with a warning.
bool playable(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return false;
    std::string problem;
    if (static_cast<std::uint64_t>(file.size()) > kLargestCueBytes) {
        problem = "larger than a cue can be";
    } else {
        const QByteArray bytes = file.readAll();
        problem = wav_problem(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
    }
    if (problem.empty()) return true;
    qWarning("cue %s refused: %s", qPrintable(path), problem.c_str());
    return false;
}

// Starts loading `file` from `folder`; null when there is no such file or
// it is not a cue that can be played. Loading goes on in the background: an
// effect asked to play before it is ready starts as soon as it is.
std::unique_ptr<QSoundEffect> load(const QString& folder, const QString& file) {
    const QFileInfo info(QDir(folder).filePath(file));
    if (!info.isFile() || !playable(info.absoluteFilePath())) return nullptr;
    auto effect = std::make_unique<QSoundEffect>();
    effect->setSource(QUrl::fromLocalFile(info.absoluteFilePath()));
    return effect;
}

class Effects : public CueSounds {
public:
    Effects(const QString& folder, const QStringList& names) : folder_(folder), sound_(can_sound()) {
        if (!sound_) return;
        for (const QString& name : names)
            if (auto effect = load(folder_, name)) effects_.emplace(name, std::move(effect));
    }

    ~Effects() override {
        // Freeing a sound effect waits until every effect still loading has
        // finished, and the process's end deadlocks with a load under way.
        // The files were checked, so their loads end within moments: wait
        // for them (they report back through the event loop). Should one
        // still be loading all the same, the effects are left to the end of
        // the process rather than freed, so that closing never waits for
        // ever.
        const auto loading = [this] {
            for (const auto& entry : effects_)
                if (entry.second->status() == QSoundEffect::Loading) return true;
            return false;
        };
        QElapsedTimer clock;
        clock.start();
        while (loading() && clock.elapsed() < kLongestLoadMs)
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents, 10);
        if (loading()) {
            qWarning("cues still loading at close; left to the end of the process");
            for (auto& entry : effects_) (void)entry.second.release();
        }
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

extern "C" Q_DECL_EXPORT morvane::CueSounds* morvane_open_cue_sounds(const QString& folder, const QStringList& names) {
    return new morvane::Effects(folder, names);
}
