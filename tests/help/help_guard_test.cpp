// F1 in the game's window on help files made to hurt it: pages that point
// at files of the disk, contents nested 40,000 deep, a page of tables nested
// in tables. The help files are compiled here with chmcmd, as the build
// compiles the real one.
#include <QAbstractTextDocumentLayout>
#include <QProcess>
#include <QSocketNotifier>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <QtTest>
#include <sys/inotify.h>
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
    // named absolutely, relative to the program folder or above it, as
    // pictures, style sheets or backgrounds. A canary file of each kind is
    // watched with inotify.
    void pagesReadOnlyTheHelpFile() {
        const QString outside = root_.filePath(QStringLiteral("outside"));
        QVERIFY(QDir().mkpath(outside));
        const QStringList canaries = {outside + "/a.png",      outside + "/b.png",          outside + "/c.css",
                                      outside + "/d.png",      root_.filePath("above.png"), program_ + "/beside.png",
                                      program_ + "/beside.css"};
        for (const QString& canary : canaries) {
            QFile file(canary);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write("canary");
        }
        const QByteArray o = outside.toUtf8();
        const QByteArray body = "<img src=\"file://" + o + "/a.png\"><img src=\"" + o +
                                "/b.png\">"
                                "<img src=\"../above.png\"><img src=\"beside.png\">"
                                "<table background=\"" +
                                o +
                                "/d.png\"><tr><td>x</td></tr></table>"
                                "<p><a href=\"file://" +
                                o + "/a.png\">out</a></p>";
        const QByteArray head = "<link rel=\"stylesheet\" href=\"file://" + o +
                                "/c.css\">"
                                "<link rel=\"stylesheet\" href=\"beside.css\"><style>@import url(\"" +
                                o + "/c.css\");</style>";
        QVERIFY(compile_help(program_, {{"index.html", "<html><head><title>Canaries</title>" + head + "</head><body>" +
                                                           body + "</body></html>"}}));

        const int watch = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
        QVERIFY(watch >= 0);
        for (const QString& folder : {outside, root_.path(), program_})
            QVERIFY(inotify_add_watch(watch, QFile::encodeName(folder).constData(), IN_OPEN | IN_ACCESS) >= 0);

        morvane::HelpWindow* help = press_f1();
        QVERIFY(help && help->isVisible());
        QCOMPARE(help->browser()->documentTitle(), QStringLiteral("Canaries"));
        help->browser()->document()->documentLayout()->documentSize();  // sizes the pictures
        QVERIFY(QTest::qWaitForWindowExposed(help));
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
        close(watch);
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
};

QTEST_MAIN(HelpGuardTest)
#include "help_guard_test.moc"
