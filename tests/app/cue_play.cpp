// Plays cues through the game's cue player, as the window does, and stays
// alive long enough for them to be heard:
//
//     cue_play FOLDER [--gap MS] [--stay MS] [CUE...]
//
// FOLDER plays the part of the program's folder: the cues are played from
// the data folder the game would find for a program there (FOLDER itself,
// or ../share/morvane beside an installed bin/). The cues are asked for one
// after another, --gap milliseconds apart (none by default), then the
// program lingers --stay milliseconds (1500 by default) and closes the
// player. It fails with exit status 3 if
// opening the player or asking for a cue held the program up for seconds
// (a guard against waiting for the sound server, not a measure of speed),
// since the game must never wait for its sounds.

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTimer>

#include <algorithm>
#include <cstdio>

#include "app/cue_player.h"
#include "app/data_folder.h"

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    if (args.isEmpty()) {
        std::fprintf(stderr, "usage: cue_play FOLDER [--stay MS] [CUE...]\n");
        return 2;
    }
    const QString folder = args.takeFirst();
    int gap = 0;
    int stay = 1500;
    while (args.size() >= 2 && (args.first() == "--gap" || args.first() == "--stay")) {
        const QString option = args.takeFirst();
        (option == "--gap" ? gap : stay) = args.takeFirst().toInt();
    }

    morvane::CuePlayer player(morvane::data_folder(folder));
    QElapsedTimer clock;
    clock.start();
    player.open();
    qint64 longest = clock.restart();
    // Each cue is asked for from the event loop, as the window's handlers do.
    for (qsizetype i = 0; i < args.size(); ++i) {
        QTimer::singleShot(int(i) * gap, &app, [&, cue = args[i]] {
            clock.restart();
            player.play(cue);
            longest = std::max(longest, clock.elapsed());
        });
    }
    QTimer::singleShot(int(args.size() > 0 ? args.size() - 1 : 0) * gap + stay, &app, &QCoreApplication::quit);
    app.exec();
    player.close();
    if (longest > 5000) {
        std::fprintf(stderr, "cue_play: the cue player held the program up for %lld ms\n",
                     static_cast<long long>(longest));
        return 3;
    }
    return 0;
}
