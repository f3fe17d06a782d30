// F1 in the game's window on help files made to hurt it: pages that point
// at files of the disk, contents nested 40,000 deep, a page of tables nested
// in tables. The help files are compiled here with chmcmd, as the build
// compiles the real one.
#include <QAbstractTextDocumentLayout>
#include <QBuffer>
#include <QTextBlock>
#include <QProcess>
#include <QSocketNotifier>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <QtTest>
#include <fcntl.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <atomic>
#include <thread>
#include <unistd.h>

#include "app/window.h"
#include "help/help_window.h"

namespace {

// Compiles `pages` (name, text) into `folder`/Morvane.chm; a page named
// "*.hhc" is the contents.
bool compile_help(const QString& folder, const QList<std::pair<QString, QByteArray>>& pages) {
    QTemporaryDir stage;
    QByteArray project = "[OPTIONS]\nCompiled file=Morvane.chm\nDefault topic=index.html\n"
                         "Title=Crafted\n\n[FILES]\n";
    for (const auto& [name, text] : pages) {
        QFile out(stage.filePath(name));
        if (!out.open(QIODevice::WriteOnly)) return false;
        out.write(text);
        project += name.toUtf8() + "\n";
    }
    QFile hhp(stage.filePath(QStringLiteral("Morvane.hhp")));
    if (!hhp.open(QIODevice::WriteOnly)) return false;
    hhp.write(project);
    hhp.close();
    QProcess chmcmd;
    chmcmd.setWorkingDirectory(stage.path());
    chmcmd.start(QStringLiteral(CHMCMD),
                 {QStringLiteral("--verbosity"), QStringLiteral("1"), QStringLiteral("Morvane.hhp")});
    if (!chmcmd.waitForFinished(120000) || chmcmd.exitCode() != 0) return false;
    QFile::remove(folder + QStringLiteral("/Morvane.chm"));
    return QFile::copy(stage.filePath(QStringLiteral("Morvane.chm")), folder + QStringLiteral("/Morvane.chm"));
}

QByteArray page(const QByteArray& title, const QByteArray& body) {
    return "<html><head><title>" + title + "</title></head><body>" + body + "</body></html>";
}

int depth_of(QTreeWidget* tree) {
    int deepest = 0;
    for (QTreeWidgetItemIterator it(tree); *it; ++it) {
        int depth = 1;
        for (QTreeWidgetItem* up = (*it)->parent(); up; up = up->parent()) ++depth;
        deepest = std::max(deepest, depth);
    }
    return deepest;
}

}  // namespace

class HelpGuardTest : public QObject {
    Q_OBJECT

    QTemporaryDir root_;
    QString program_;  // the program folder, inside root_
    std::unique_ptr<morvane::GameWindow> game_;

    // Presses F1 in a game window of the program folder.
    morvane::HelpWindow* press_f1() {
        game_ = std::make_unique<morvane::GameWindow>(program_);
        game_->show();
        if (!QTest::qWaitForWindowExposed(game_.get())) return nullptr;
        QTest::keyClick(game_->windowHandle(), Qt::Key_F1);
        return morvane::help_window_of(game_.get());
    }

private slots:
    void init() {
        program_ = root_.filePath(QStringLiteral("program"));
        QVERIFY(QDir().mkpath(program_));
        QDir::setCurrent(program_);
    }
    void cleanup() { game_.reset(); }

    // Whatever a page names, nothing but the help file is opened: files
    // named absolutely, by "file:", by ".." walks out of the file, through
    // a link beside the program or as device files; as pictures, style
    // sheets (<link>, @import), backgrounds and links; also a name asked
    // for first as a style sheet and then as a picture (Qt's cache hands
    // the picture lookup the style sheet's text). Every canary is watched
    // with inotify. Standard input is a named pipe among them that nobody
    // writes to: a read of /dev/stdin would block the window thread, and
    // is released by a watchdog after a while, and fails the test.
    void pagesReadOnlyTheHelpFile() {
        const QString outside = root_.filePath(QStringLiteral("outside"));
        QVERIFY(QDir().mkpath(outside));
        const QStringList canaries = {"a.png", "b.png", "c.css", "d.png", "e.png", "f.png", "g.css", "h.png"};
        for (const QString& canary : canaries) {
            QFile file(outside + "/" + canary);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write("canary");
        }
        for (const char* beside : {"above.png", "program/beside.png", "program/beside.css"}) {
            QFile file(root_.filePath(beside));
            QVERIFY(file.open(QIODevice::WriteOnly));
        }
        QVERIFY(QFile::link(outside + "/e.png", program_ + "/linked.png"));
        const QByteArray fifo = QFile::encodeName(outside + "/stdin");
        QVERIFY(mkfifo(fifo.constData(), 0600) == 0);
        const int saved_stdin = dup(0);
        const int reader = ::open(fifo.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
        std::atomic<int> writer = ::open(fifo.constData(), O_WRONLY | O_CLOEXEC);
        QVERIFY(saved_stdin >= 0 && reader >= 0 && writer >= 0 && dup2(reader, 0) == 0);
        const auto restore_stdin = qScopeGuard([&] {
            dup2(saved_stdin, 0);
            ::close(saved_stdin);
            ::close(reader);
            if (const int end = writer.exchange(-1); end >= 0) ::close(end);
        });

        const QByteArray o = outside.toUtf8();
        const QByteArray up = QByteArray("../").repeated(40);
        const QByteArray head = "<link rel=\"stylesheet\" href=\"file://" + o +
                                "/c.css\">"
                                "<link rel=\"stylesheet\" href=\"beside.css\"><link rel=stylesheet href=\"/dev/stdin\">"
                                "<link rel=stylesheet href=\"" +
                                o +
                                "/f.png\">"
                                "<style>@import url(\"" +
                                o +
                                "/g.css\"); @import url(/dev/stdin); "
                                "@import url(\"" +
                                o + "/a.png\"); @import url(" + up + o.mid(1) +
                                "/h.png);"
                                "p { background-image: url(" +
                                o + "/d.png) }</style>";
        const QByteArray body = "<img src=\"" + o + "/a.png\"><img src=\"file://" + o +
                                "/b.png\">"
                                "<img src=\"" +
                                up + o.mid(1) + "/h.png\"><img src=\"" + o +
                                "/f.png\">"
                                "<img src=\"../above.png\"><img src=\"beside.png\"><img src=\"linked.png\">"
                                "<img src=\"file://" +
                                o +
                                "/e.png\"><img src=/dev/stdin><img src=\"file:///dev/stdin\">"
                                "<img src=\"/proc/self/fd/0\"><img width=10 src=\"" +
                                o +
                                "/a.png\">"
                                "<table background=\"" +
                                o +
                                "/d.png\"><tr><td background=/dev/stdin>x</td></tr></table>"
                                "<p style=\"background-image: url(file://" +
                                o +
                                "/d.png)\">"
                                "<a href=\"file://" +
                                o + "/a.png\">out</a></p>";
        QVERIFY(compile_help(program_, {{"index.html", "<html><head><title>Canaries</title>" + head + "</head><body>" +
                                                           body + "</body></html>"}}));

        const int watch = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
        QVERIFY(watch >= 0);
        for (const QString& folder : {outside, root_.path(), program_})
            QVERIFY(inotify_add_watch(watch, QFile::encodeName(folder).constData(), IN_OPEN | IN_ACCESS) >= 0);

        // Should the window thread read the pipe, it is released after a
        // while by closing the pipe's only writer (a watchdog against a
        // hang, not a measure of time).
        std::atomic<bool> done = false;
        std::thread watchdog([&] {
            for (int tenths = 0; tenths < 200 && !done; ++tenths)
                std::this_thread::sleep_for(std::chrono::milliseconds(100));
            if (const int end = done ? -1 : writer.exchange(-1); end >= 0) ::close(end);
            // A later open of the pipe waits for a writer: one comes and goes.
            while (!done) {
                if (const int end = ::open(fifo.constData(), O_WRONLY | O_NONBLOCK | O_CLOEXEC); end >= 0) ::close(end);
                std::this_thread::sleep_for(std::chrono::milliseconds(100));
            }
        });
        const auto stop_watchdog = qScopeGuard([&] {
            done = true;
            watchdog.join();
        });

        morvane::HelpWindow* help = press_f1();
        QVERIFY(help && help->isVisible());
        QCOMPARE(help->browser()->documentTitle(), QStringLiteral("Canaries"));
        help->browser()->document()->documentLayout()->documentSize();  // sizes the pictures
        QVERIFY(QTest::qWaitForWindowExposed(help));
        help->grab();  // draws them
        emit help->browser()->anchorClicked(QUrl::fromLocalFile(outside + "/a.png"));
        QTest::qWait(200);

        QStringList opened;
        alignas(inotify_event) char events[64 * 1024];
        for (ssize_t got; (got = read(watch, events, sizeof events)) > 0;)
            for (char* at = events; at < events + got;) {
                const auto* event = reinterpret_cast<const inotify_event*>(at);
                if (event->len && !QByteArray(event->name).endsWith(".chm")) opened << event->name;
                at += sizeof(inotify_event) + event->len;
            }
        ::close(watch);
        QVERIFY2(opened.isEmpty(), qPrintable(opened.join(u' ')));
    }

    // Contents nested 40,000 deep open, cut at a depth the tree can take,
    // with the deepest topic still there and leading to its page.
    void deepContentsOpen() {
        QByteArray contents = "<html><body>";
        for (int level = 0; level < 40000; ++level)
            contents += "<ul><li><object type=\"text/sitemap\"><param name=\"Name\" value=\"Level " +
                        QByteArray::number(level) + "\"><param name=\"Local\" value=\"deep.html\"></object>";
        // chmcmd would read a contents file named as such itself (and cannot
        // take this one); the viewer finds it by its ending.
        QVERIFY(compile_help(program_, {{"index.html", page("Top", "<p>Top</p>")},
                                        {"deep.html", page("Deepest", "<p>Deep down</p>")},
                                        {"deep.hhc", contents}}));
        morvane::HelpWindow* help = press_f1();
        QVERIFY(help && help->isVisible());
        QTreeWidget* tree = help->contents();
        QCOMPARE(depth_of(tree), morvane::kMaxContentsDepth);
        const auto deepest = tree->findItems(QStringLiteral("Level 39999"), Qt::MatchExactly | Qt::MatchRecursive);
        QCOMPARE(deepest.size(), 1);
        emit tree->itemActivated(deepest.first(), 0);
        QCOMPARE(help->browser()->documentTitle(), QStringLiteral("Deepest"));
    }

    // A page of tables nested 24 deep, as bit flips make of the pieces
    // page, kept Qt's layout busy for minutes: it is shown as damaged, and
    // the other pages as they are.
    void aPageTooDeepForTheLayoutSaysItIsDamaged() {
        QByteArray tables;
        for (int level = 0; level < 24; ++level) tables += "<table><tr><td>cell<td>cell";
        QVERIFY(compile_help(program_, {{"index.html", page("Welcome", "<a href=\"pieces.html\">pieces</a>")},
                                        {"pieces.html", page("Pieces", tables)}}));
        morvane::HelpWindow* help = press_f1();
        QVERIFY(help && help->isVisible());
        emit help->browser()->anchorClicked(QUrl(QStringLiteral("pieces.html")));
        QCOMPARE(help->browser()->source(), QUrl(QStringLiteral("chm:/pieces.html")));
        QCOMPARE(help->browser()->toPlainText(), QString::fromLatin1(morvane::kDamagedPageText));
        help->back_action()->trigger();
        QCOMPARE(help->browser()->documentTitle(), QStringLiteral("Welcome"));
    }

    // Shapes of page that keep Qt's parser or layout busy for seconds and
    // more, each well within the page size allowed.
    void pagesThatWouldKeepTheLayoutBusyAreRefused_data() {
        QTest::addColumn<QByteArray>("body");
        QTest::newRow("5,000 list items") << "<ul>" + QByteArray("<li>x").repeated(5000);
        QTest::newRow("40,000 table cells") << "<table><tr>" + QByteArray("<td>x").repeated(40000);
        QTest::newRow("tables 12 deep") << QByteArray("<table><tr><td>x").repeated(12) +
                                               QByteArray("</td></tr></table>").repeated(12);
        QTest::newRow("3,000 floats") << QByteArray("<img src=a.png align=right>x").repeated(3000);
        QTest::newRow("20,000 open elements") << QByteArray("<b>").repeated(20000) + "x";
        // Malformed tags that Qt's reader takes as whole elements.
        QTest::newRow("7,700 floats in open tags") << QByteArray("<img align=left<>").repeated(7700);
        QTest::newRow("21,800 nested blocks in open tags") << QByteArray("<div<>").repeated(21800);
        QTest::newRow("11,000 list items, '<' quoted") << "<ul>" + QByteArray("<li x=\"<\">a").repeated(11000);
        QTest::newRow("3,000 pictures") << QByteArray("<img src=a.png>").repeated(3000);
        QTest::newRow("twice the size allowed") << QByteArray("x").repeated(2 * morvane::PageLimits::kMaxBytes);
    }
    void pagesThatWouldKeepTheLayoutBusyAreRefused() {
        QFETCH(QByteArray, body);
        QVERIFY(morvane::is_damaged_page(morvane::prepare_page(page("Busy", body))));
        // Numbers are bounded and control characters left out, the page kept.
        const QString kept = morvane::prepare_page(page("Kept", "<table cellpadding=99999><tr><td colspan=100000 "
                                                                "style=\"width:90000px\">a\x01"
                                                                "b</td></tr></table>"));
        QVERIFY(kept.contains(QStringLiteral("cellpadding=100")) && kept.contains(QStringLiteral("colspan=100 ")));
        QVERIFY2(kept.contains(QStringLiteral("width:4000px")) && kept.contains(QStringLiteral(">ab<")),
                 qPrintable(kept));
    }

    // Pictures cost a page no more than its budget: forty distinct
    // 4096x4096 pictures, or one large entry asked for under 1,500 names,
    // decode to at most the pixels allowed, the rest shown as placeholders.
    void picturesStayWithinTheirBudget_data() {
        QTest::addColumn<int>("side");
        QTest::addColumn<int>("entries");
        QTest::addColumn<int>("names");
        QTest::newRow("40 pictures of 4096x4096") << 4096 << 40 << 40;
        QTest::newRow("one 1024x1024 entry, 1,500 names") << 1024 << 1 << 1500;
    }
    void picturesStayWithinTheirBudget() {
        QFETCH(int, side);
        QFETCH(int, entries);
        QFETCH(int, names);
        QImage picture(side, side, QImage::Format_RGB32);
        picture.fill(Qt::darkGreen);
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        // Uncompressed for the large entry, so that it is large in the file too.
        QVERIFY(picture.save(&buffer, entries == 1 ? "BMP" : "PNG"));
        QList<std::pair<QString, QByteArray>> files;
        QByteArray body;
        for (int i = 0; i < entries; ++i) files.append({QStringLiteral("p%1.img").arg(i), bytes});
        for (int i = 0; i < names; ++i)
            body += entries == 1 ? "<img src=\"p0.img?" + QByteArray::number(i) + "\">"
                                 : "<img src=\"p" + QByteArray::number(i) + ".img\">";
        files.append({QStringLiteral("index.html"), page("Pictures", body)});
        QVERIFY(compile_help(program_, files));

        morvane::HelpWindow* help = press_f1();
        QVERIFY(help && help->isVisible());
        QCOMPARE(help->browser()->documentTitle(), QStringLiteral("Pictures"));
        QTextDocument* document = help->browser()->document();
        document->documentLayout()->documentSize();
        qint64 pixels = 0;
        int shown = 0;
        QSet<qint64> counted;  // a picture held under two names counts once
        for (QTextBlock block = document->begin(); block.isValid(); block = block.next())
            for (auto it = block.begin(); !it.atEnd(); ++it) {
                const QTextImageFormat format = it.fragment().charFormat().toImageFormat();
                if (!format.isValid()) continue;
                const QImage image =
                    document->resource(QTextDocument::ImageResource, QUrl(format.name())).value<QImage>();
                if (image.width() != side) continue;
                const qsizetype before = counted.size();
                counted.insert(image.cacheKey());
                if (counted.size() == before) continue;
                pixels += qint64(image.width()) * image.height();
                ++shown;
            }
        QVERIFY2(shown >= 1, "the first picture is shown");
        QVERIFY2(pixels <= morvane::PageLimits::kMaxPicturePixels, qPrintable(QString::number(shown)));
    }
};

QTEST_MAIN(HelpGuardTest)
#include "help_guard_test.moc"
