// The help file as the build makes it, read back with libmspack; and what the
// reader says about files that are no help file.
#include <QImage>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <QtTest>

#include "help/help_chm.h"
#include "help/help_contents.h"

using morvane::ChmFile;

namespace {

const QStringList kPages = {"/index.html",   "/moving.html", "/pieces.html",
                            "/winning.html", "/boards.html", "/keys.html"};

QStringList pages_of(const QStringList& entries) {
    QStringList pages = entries.filter(QRegularExpression(QStringLiteral(R"(\.html?$)")));
    pages.sort();
    return pages;
}

void collect_topics(const std::vector<morvane::HelpTopic>& topics, QList<QUrl>& urls) {
    for (const auto& topic : topics) {
        if (!topic.local.isEmpty()) urls << morvane::topic_url(topic.local);
        collect_topics(topic.children, urls);
    }
}

}  // namespace

class HelpFileTest : public QObject {
    Q_OBJECT

    std::unique_ptr<ChmFile> file_;

private slots:
    void initTestCase() {
        QString problem;
        file_ = ChmFile::open(QStringLiteral(MORVANE_HELP_FILE), &problem);
        QVERIFY2(file_, qPrintable(problem));
        QVERIFY(problem.isEmpty());
    }

    void listsItsPagesAndWhatTheyNeed() {
        const QStringList entries = file_->entries();
        QStringList expected = kPages;
        expected.sort();
        QCOMPARE(pages_of(entries), expected);
        for (const char* other : {"/legend.png", "/style.css", "/Morvane.hhc"})
            QVERIFY2(entries.contains(QString::fromLatin1(other)), other);
        for (const QString& entry : entries) {
            QVERIFY2(!entry.startsWith(QStringLiteral("/#")) && !entry.startsWith(QStringLiteral("::")),
                     qPrintable(entry));
            QVERIFY2(!entry.endsWith(u'/'), qPrintable(entry));
        }
    }

    void saysItsTitleFirstPageAndContents() {
        QCOMPARE(file_->title(), QStringLiteral("Morvane's Challenge II Help"));
        QCOMPARE(file_->default_topic(), QStringLiteral("index.html"));
        QCOMPARE(file_->contents_file(), QStringLiteral("Morvane.hhc"));
        QCOMPARE(file_->path(), QFileInfo(QStringLiteral(MORVANE_HELP_FILE)).absoluteFilePath());
    }

    void readsWhatItStores() {
        const std::optional<QByteArray> page = file_->read(QStringLiteral("index.html"));
        QVERIFY(page);
        QVERIFY(page->contains("<title>Welcome to Morvane's Challenge II</title>"));
        QCOMPARE(file_->read(QStringLiteral("/index.html")), page);  // with or without the slash
        QCOMPARE(file_->read(QStringLiteral("/INDEX.HTML")), page);  // letter case does not matter

        const std::optional<QByteArray> legend = file_->read(QStringLiteral("legend.png"));
        QVERIFY(legend);
        QVERIFY(!QImage::fromData(*legend).isNull());

        QVERIFY(!file_->read(QStringLiteral("nowhere.html")));
        QVERIFY(!file_->contains(QStringLiteral("nowhere.html")));
        QVERIFY(file_->contains(QStringLiteral("pieces.html")));
        QVERIFY(!file_->read(QString(600, u'x')));  // longer than any stored name
    }

    // Every topic of the contents leads to a page of the file, and every
    // page can be reached from the contents.
    void contentsAndPagesAgree() {
        const std::optional<QByteArray> text = file_->read(file_->contents_file());
        QVERIFY(text);
        QList<QUrl> urls;
        collect_topics(morvane::parse_contents(QString::fromUtf8(*text)), urls);
        QVERIFY(urls.size() >= kPages.size());
        QSet<QString> listed;
        for (const QUrl& url : urls) {
            QCOMPARE(url.scheme(), QStringLiteral("chm"));
            QVERIFY2(file_->contains(url.path()), qPrintable(url.toString()));
            listed.insert(url.path());
        }
        for (const QString& page : kPages) QVERIFY2(listed.contains(page), qPrintable(page));
    }

    void refusesWhatIsNoHelpFile_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("content");  // null: do not create; "dir": a folder
        QTest::addColumn<QString>("says");
        QTest::newRow("missing") << "Morvane.chm" << QByteArray() << "is missing";
        QTest::newRow("folder") << "Morvane.chm" << QByteArray("dir") << "cannot be read";
        QTest::newRow("empty") << "Morvane.chm" << QByteArray("") << "not a compiled help file";
        QTest::newRow("text") << "Morvane.chm" << QByteArray("<html>Not compiled</html>\n")
                              << "not a compiled help file";
        QTest::newRow("header only") << "Morvane.chm" << QByteArray("ITSF\x03\0\0\0", 8) << "not a compiled help file";
    }
    void refusesWhatIsNoHelpFile() {
        QFETCH(QString, name);
        QFETCH(QByteArray, content);
        QFETCH(QString, says);
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString path = dir.filePath(name);
        if (content == "dir") {
            QVERIFY(QDir(dir.path()).mkdir(name));
        } else if (!content.isNull()) {
            QFile out(path);
            QVERIFY(out.open(QIODevice::WriteOnly));
            out.write(content);
        }

        QString problem = QStringLiteral("stale");
        QVERIFY(!ChmFile::open(path, &problem));
        QVERIFY2(problem.contains(QDir::toNativeSeparators(path)), qPrintable(problem));
        QVERIFY2(problem.contains(says), qPrintable(problem));
        QCOMPARE(morvane::help_file_problem(path), problem);
    }

    void aGoodFileHasNoProblem() { QVERIFY(morvane::help_file_problem(QStringLiteral(MORVANE_HELP_FILE)).isEmpty()); }
};

QTEST_APPLESS_MAIN(HelpFileTest)
#include "help_file_test.moc"
