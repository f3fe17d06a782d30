// The cue player's promises: each play makes the program's folder the
// current directory, and nothing a cue can do wrong (a missing folder or
// file, a broken file, a closed player, a sound server that stops
// answering) throws or holds the game up. With MORVANE_PRIVATE_SOUND=1 the
// program runs every case against a private PulseAudio server with a null
// sink that it starts itself (private_sound_server.sh does the same for
// the scripts); the cases of CueSoundTest need it and fail without it.

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <csignal>
#include <cstdio>
#include <memory>

#include "app/cue_player.h"
#include "app/wav_check.h"

namespace {

using morvane::CuePlayer;

bool audio_device();

// Every test starts in a folder of its own that is not the program's folder,
// and puts the current directory back afterwards.
class CuePlayerTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(elsewhere_.isValid() && program_.isValid());
        saved_ = QDir::currentPath();
        ASSERT_TRUE(QDir::setCurrent(elsewhere_.path()));
    }
    void TearDown() override { QDir::setCurrent(saved_); }

    QString program_folder() const { return QDir(program_.path()).canonicalPath(); }
    static QString current() { return QDir(QDir::currentPath()).canonicalPath(); }

    void copy_cue(const QString& name, const QString& as) {
        ASSERT_TRUE(QFile::copy(QDir(MORVANE_PROGRAM_FOLDER).filePath(name), QDir(program_.path()).filePath(as)));
    }
    void writeFile(const QString& name, const QByteArray& bytes) {
        QFile f(QDir(program_.path()).filePath(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }

    QTemporaryDir elsewhere_, program_;
    QString saved_;
};

TEST_F(CuePlayerTest, EveryPlayMakesTheProgramFolderCurrent) {
    copy_cue("move.wav", "move.wav");
    CuePlayer player(program_folder());
    struct Case {
        const char* what;
        bool open;
        const char* file;
    };
    for (const Case& c : {Case{"before open", false, "move.wav"}, Case{"an existing cue", true, "move.wav"},
                          Case{"a missing file", true, "nothing.wav"}, Case{"after close", false, "move.wav"}}) {
        SCOPED_TRACE(c.what);
        if (c.open)
            player.open();
        else
            player.close();
        ASSERT_TRUE(QDir::setCurrent(elsewhere_.path()));
        player.play(c.file);
        EXPECT_EQ(current(), program_folder());
    }
}

TEST_F(CuePlayerTest, RelativeFolderIsTakenFromWhereThePlayerWasMade) {
    ASSERT_TRUE(QDir::setCurrent(QDir(program_folder()).filePath("..")));
    CuePlayer player(QDir(program_folder()).dirName());
    player.open();
    for (int i = 0; i < 3; ++i) {  // a second play must not go one folder deeper
        player.play("move.wav");
        EXPECT_EQ(current(), program_folder());
    }
}

TEST_F(CuePlayerTest, NothingThrowsOrWaits) {
    writeFile("broken.wav", QByteArray("RIFF\x10\0\0\0WAVEjunk", 16));
    writeFile("empty.wav", "");
    copy_cue("won.wav", "won.wav");
    struct Case {
        const char* what;
        QString folder;
        const char* file;
    };
    const QString missing = QDir(program_folder()).filePath("no-such-folder");
    for (const Case& c :
         {Case{"missing folder", missing, "won.wav"}, Case{"missing file", program_folder(), "nothing.wav"},
          Case{"broken file", program_folder(), "broken.wav"}, Case{"empty file", program_folder(), "empty.wav"},
          Case{"empty name", program_folder(), ""}, Case{"a cue, twice", program_folder(), "won.wav"}}) {
        SCOPED_TRACE(c.what);
        {
            CuePlayer player(c.folder);
            EXPECT_NO_THROW(player.open());
            EXPECT_NO_THROW(player.play(c.file));
            EXPECT_NO_THROW(player.play(c.file));
            QCoreApplication::processEvents();
        }  // the destructor closes; a close that hung would end in the test's timeout
    }
}

TEST_F(CuePlayerTest, CloseIsSafeTwiceAndOpenAgainWorks) {
    copy_cue("no.wav", "no.wav");
    CuePlayer player(program_folder());
    player.close();
    player.open();
    player.open();
    player.close();
    player.close();
    EXPECT_FALSE(player.holds("no.wav"));
    player.open();
    EXPECT_EQ(player.holds("no.wav"), audio_device());
}

// The cases that need a sound server.
class CueSoundTest : public CuePlayerTest {
protected:
    void SetUp() override {
        CuePlayerTest::SetUp();
        ASSERT_TRUE(audio_device()) << "no sound server (run with MORVANE_PRIVATE_SOUND=1)";
    }
};

TEST_F(CueSoundTest, OpenLoadsEveryCueOfTheFolderAheadOfTime) {
    for (const QString& name : CuePlayer::cue_names()) copy_cue(name, name);
    copy_cue("move.wav", "extra.wav");
    CuePlayer player(program_folder());
    player.open();
    for (const QString& name : CuePlayer::cue_names()) EXPECT_TRUE(player.holds(name)) << name.toStdString();
    EXPECT_FALSE(player.holds("extra.wav"));  // only the game's own cues
    EXPECT_FALSE(player.holds("MOVE.WAV"));   // names are taken exactly
}

TEST_F(CueSoundTest, ACueThatTurnsUpLaterIsLoadedWhenAskedFor) {
    CuePlayer player(program_folder());
    player.open();
    player.play("red.wav");
    EXPECT_FALSE(player.holds("red.wav"));
    copy_cue("red.wav", "red.wav");
    player.play("red.wav");
    EXPECT_TRUE(player.holds("red.wav"));
}

QByteArray cue_bytes(const QString& name) {
    QFile file(QDir(MORVANE_PROGRAM_FOLDER).filePath(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}
std::string problem(const QByteArray& bytes) {
    return morvane::wav_problem(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
}

// Files the sound library would wait on for ever, or cannot play, are
// refused before it sees them; the game's own cues pass.
TEST(WavCheck, TheGamesCuesPassAndBrokenFilesAreRefused) {
    for (const QString& name : CuePlayer::cue_names()) EXPECT_EQ(problem(cue_bytes(name)), "") << name.toStdString();
    const QByteArray good = cue_bytes("move.wav");
    ASSERT_EQ(good.mid(36, 4), "data");  // the header this table edits
    auto with = [&good](qsizetype at, const QByteArray& part) {
        return QByteArray(good).replace(at, part.size(), part);
    };
    auto u32 = [](quint32 v) { return QByteArray(reinterpret_cast<const char*>(&v), 4); };
    QByteArray odd_chunk = good.left(36) + "junk" + u32(3) + "abc" + QByteArray(1, 0) + good.mid(36);
    odd_chunk.replace(4, 4, u32(quint32(odd_chunk.size() - 8)));
    const struct {
        const char* what;
        QByteArray bytes;
    } cases[] = {
        {"empty", {}},
        {"20 bytes", good.left(20)},
        {"the header alone", good.left(44)},
        {"one byte short", good.chopped(1)},
        {"4 GB of sound data", with(40, u32(0xffffffff))},
        {"4 GB RIFF size", with(4, u32(0xffffffff))},
        {"no sound data", with(40, u32(0))},
        {"half a frame", with(40, u32(quint32(good.size() - 45)))},
        {"'fmt ' misspelt", with(12, "fmu ")},
        {"odd format size", with(16, u32(17))},
        {"'data' misspelt", with(36, "daua")},
        {"floating point", with(20, QByteArray("\x03\x00", 2))},
        {"3 channels", with(22, QByteArray("\x03\x00", 2))},
        {"24 bits", with(34, QByteArray("\x18\x00", 2))},
        {"a rate of 0", with(24, u32(0))},
        {"wrong frame size", with(32, QByteArray("\x06\x00", 2))},
        {"odd chunk before the data", odd_chunk},
        {"not a WAV", "this is not a sound"},
        {"another RIFF", with(8, "AVI ")},
    };
    for (const auto& c : cases) EXPECT_NE(problem(c.bytes), "") << c.what;
}

TEST_F(CueSoundTest, BrokenCuesAreNeverLoaded) {
    writeFile("move.wav", "");
    writeFile("won.wav", cue_bytes("won.wav").left(44));
    copy_cue("no.wav", "no.wav");
    CuePlayer player(program_folder());
    player.open();
    for (const char* cue : {"move.wav", "won.wav"}) {
        player.play(cue);
        EXPECT_FALSE(player.holds(cue)) << cue;
    }
    EXPECT_TRUE(player.holds("no.wav"));
}

qint64 sound_server = 0;  // the private sound server's process id

// A sound server that stops answering (SIGSTOP) before the player opens, or
// while it plays, holds nothing up: opening, fifty cues and closing all
// return (a wait on the server would end in the test's timeout); the
// sounds' thread is left to the server when it cannot finish in time.
TEST_F(CueSoundTest, AServerThatStopsAnsweringHoldsNothingUp) {
    ASSERT_GT(sound_server, 0) << "run with MORVANE_PRIVATE_SOUND=1";
    for (const QString& name : CuePlayer::cue_names()) copy_cue(name, name);
    for (const bool before_open : {false, true}) {
        SCOPED_TRACE(before_open ? "stopped before opening" : "stopped while playing");
        CuePlayer player(program_folder());
        if (before_open) {
            ASSERT_EQ(kill(pid_t(sound_server), SIGSTOP), 0);
        }
        player.open();
        if (!before_open) {
            player.play("won.wav");
            EXPECT_TRUE(player.holds("won.wav"));
            ASSERT_EQ(kill(pid_t(sound_server), SIGSTOP), 0);
        }
        for (int i = 0; i < 50; ++i) player.play(CuePlayer::cue_names()[i % 8]);
        player.close();
        EXPECT_FALSE(player.is_open());
        ASSERT_EQ(kill(pid_t(sound_server), SIGCONT), 0);
    }
}

bool audio_device() {
    // The player without sound holds no cue even where the files are.
    QTemporaryDir dir;
    QFile::copy(QDir(MORVANE_PROGRAM_FOLDER).filePath("move.wav"), QDir(dir.path()).filePath("move.wav"));
    CuePlayer probe(dir.path());
    probe.open();
    return probe.holds("move.wav");
}

}  // namespace

// A private PulseAudio daemon whose only output is a null sink, for this
// run; PULSE_SERVER points at it.
class PrivateSoundServer {
public:
    bool start() {
        if (!runtime_.isValid()) return false;
        const QString socket = runtime_.filePath("native");
        for (const char* name : {"XDG_RUNTIME_DIR", "HOME"}) qputenv(name, runtime_.path().toLocal8Bit());
        qputenv("PULSE_SERVER", ("unix:" + socket).toLocal8Bit());
        qunsetenv("DISPLAY");
        qunsetenv("DBUS_SESSION_BUS_ADDRESS");
        daemon_.setStandardOutputFile(QProcess::nullDevice());
        daemon_.setStandardErrorFile(runtime_.filePath("daemon.log"));
        daemon_.start("pulseaudio",
                      {"-n", "--daemonize=no", "--exit-idle-time=-1", "--disable-shm=yes", "--use-pid-file=no",
                       "--log-target=stderr", "-L", "module-native-protocol-unix auth-anonymous=1 socket=" + socket,
                       "-L", "module-null-sink sink_name=cue"});
        if (!daemon_.waitForStarted(10000)) return false;
        for (int tries = 0; tries < 200 && !QFile::exists(socket); ++tries) QThread::msleep(50);
        sound_server = daemon_.processId();
        return QFile::exists(socket);
    }
    ~PrivateSoundServer() {
        daemon_.terminate();
        if (!daemon_.waitForFinished(10000)) daemon_.kill();
        daemon_.waitForFinished(10000);
    }

private:
    QTemporaryDir runtime_;
    QProcess daemon_;
};

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    QCoreApplication app(argc, argv);
    std::unique_ptr<PrivateSoundServer> server;
    if (qEnvironmentVariable("MORVANE_PRIVATE_SOUND") == "1" && !::testing::GTEST_FLAG(list_tests)) {
        server = std::make_unique<PrivateSoundServer>();
        if (!server->start()) {
            std::fprintf(stderr, "the private sound server did not start\n");
            return 1;
        }
    }
    // As the game does: ends at once when sounds were left to a server
    // that does not answer.
    const int status = RUN_ALL_TESTS();
    server.reset();
    CuePlayer::end_program(status);
}
