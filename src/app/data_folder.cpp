#include "app/data_folder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include "app/cue_player.h"
#include "game/responses.h"

namespace morvane {

namespace {

// Whether `folder` holds the help file or any of the cues.
bool holds_game_files(const QDir& folder) {
    if (folder.exists(QString::fromLatin1(help_file().data(), static_cast<qsizetype>(help_file().size())))) return true;
    for (const QString& cue : CuePlayer::cue_names())
        if (folder.exists(cue)) return true;
    return false;
}

}  // namespace

QString program_folder() {
    // applicationFilePath() reads /proc/self/exe; canonicalPath() also
    // resolves a link to the program's folder itself.
    const QFileInfo program(QCoreApplication::applicationFilePath());
    const QString real = program.canonicalPath();
    return real.isEmpty() ? QCoreApplication::applicationDirPath() : real;
}

QString data_folder(const QString& program_folder) {
    const QDir own(QDir::isAbsolutePath(program_folder) ? program_folder : QDir(program_folder).absolutePath());
    if (holds_game_files(own)) return own.absolutePath();
    const QDir shared(own.absoluteFilePath(QStringLiteral("../share/morvane")));
    if (shared.exists()) return shared.canonicalPath();
    return own.absolutePath();
}

}  // namespace morvane
