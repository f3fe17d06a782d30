// The table of contents as read from a contents file.
#include <QtTest>

#include "help/help_contents.h"

using morvane::HelpTopic;
using morvane::parse_contents;
using morvane::topic_url;

namespace {

QString item(const QString& name, const QString& local) {
    return QStringLiteral(R"(<LI> <OBJECT type="text/sitemap"><param name="Name" value="%1">)"
                          R"(<param name="Local" value="%2"></OBJECT>)")
        .arg(name, local);
}

}  // namespace

class HelpContentsTest : public QObject {
    Q_OBJECT

private slots:
    void nestedListsBecomeATree() {
        const QString text =
            QStringLiteral("<HTML><BODY><UL>") + item("Welcome", "index.html") +
            QStringLiteral(R"(<LI> <OBJECT type="text/sitemap"><param name="Name" value="Playing"></OBJECT>)") +
            QStringLiteral("<UL>") + item("Moving", "moving.html") + QStringLiteral("<UL>") +
            item("Your 50 moves", "moving.html#allowance") + QStringLiteral("</UL>") + item("Pieces", "pieces.html") +
            QStringLiteral("</UL>") + item("Keys", "keys.html") + QStringLiteral("</UL></BODY></HTML>");
        const std::vector<HelpTopic> topics = parse_contents(text);

        QCOMPARE(topics.size(), 3u);
        QCOMPARE(topics[0].name, QStringLiteral("Welcome"));
        QCOMPARE(topics[0].local, QStringLiteral("index.html"));
        QVERIFY(topics[0].children.empty());
        QCOMPARE(topics[1].name, QStringLiteral("Playing"));
        QVERIFY(topics[1].local.isEmpty());
        QCOMPARE(topics[1].children.size(), 2u);
        QCOMPARE(topics[1].children[0].name, QStringLiteral("Moving"));
        QCOMPARE(topics[1].children[0].children.size(), 1u);
        QCOMPARE(topics[1].children[0].children[0].local, QStringLiteral("moving.html#allowance"));
        QCOMPARE(topics[1].children[1].name, QStringLiteral("Pieces"));
        QCOMPARE(topics[2].name, QStringLiteral("Keys"));
    }

    // Contents files come from many hands: any letter case, any quoting,
    // character references, objects that are no topics.
    void toleratesTheWaysContentsFilesAreWritten() {
        const QString text = QStringLiteral(
            "<ul>"
            "<object type=\"text/site properties\"><param name=\"Name\" value=\"Not a topic\"></object>"
            "<li><Object TYPE='Text/Sitemap'><PARAM NAME=name VALUE=\"Rows &amp; columns\">"
            "<Param Name='LOCAL' Value='rows.html'><param name=\"Local\" value=\"second.html\"></Object>"
            "<li><object type=\"text/sitemap\"><param name=\"Local\" value=\"nameless.html\"></object>"
            "<li><object type=\"text/sitemap\"><param name=\"Name\" value=\"&lt;Say &quot;hi&quot;&#39;&#x21;&gt; &copy2; &bogus;\">"
            "<param name=Local value=quote.html></object>"
            "</ul>");
        const std::vector<HelpTopic> topics = parse_contents(text);

        QCOMPARE(topics.size(), 2u);
        QCOMPARE(topics[0].name, QStringLiteral("Rows & columns"));
        QCOMPARE(topics[0].local, QStringLiteral("rows.html"));  // the first page counts
        QCOMPARE(topics[1].name, QStringLiteral("<Say \"hi\"'!> &copy2; &bogus;"));
        QCOMPARE(topics[1].local, QStringLiteral("quote.html"));
    }

    // A list with no item before it, and lists closed too often, put no
    // topic at the wrong depth and lose none.
    void unbalancedListsLoseNoTopic() {
        const QString text = QStringLiteral("<UL><UL>") + item("A", "a.html") + QStringLiteral("</UL>") +
                             item("B", "b.html") + QStringLiteral("</UL></UL></UL>") + item("C", "c.html") +
                             QStringLiteral("<UL>") + item("C1", "c1.html");  // never closed
        const std::vector<HelpTopic> topics = parse_contents(text);

        QCOMPARE(topics.size(), 3u);
        QCOMPARE(topics[0].name, QStringLiteral("A"));
        QCOMPARE(topics[1].name, QStringLiteral("B"));
        QCOMPARE(topics[2].name, QStringLiteral("C"));
        QCOMPARE(topics[2].children.size(), 1u);
        QCOMPARE(topics[2].children[0].name, QStringLiteral("C1"));
        QVERIFY(parse_contents(QString()).empty());
        QVERIFY(parse_contents(QStringLiteral("<html><body>No list</body></html>")).empty());
    }

    void topicsAreFoundInsideTheHelpFile_data() {
        QTest::addColumn<QString>("local");
        QTest::addColumn<QUrl>("url");
        QTest::newRow("page") << "index.html" << QUrl("chm:/index.html");
        QTest::newRow("place on a page") << "boards.html#codes" << QUrl("chm:/boards.html#codes");
        QTest::newRow("folder") << "pics/legend.png" << QUrl("chm:/pics/legend.png");
        QTest::newRow("from the top") << "/keys.html" << QUrl("chm:/keys.html");
        QTest::newRow("blank in name") << "two words.html" << QUrl("chm:/two%20words.html");
        QTest::newRow("web") << "https://example.org/a.html" << QUrl("https://example.org/a.html");
        QTest::newRow("none") << "" << QUrl();
    }
    void topicsAreFoundInsideTheHelpFile() {
        QFETCH(QString, local);
        QFETCH(QUrl, url);
        QCOMPARE(topic_url(local), url);
    }
};

QTEST_APPLESS_MAIN(HelpContentsTest)
#include "help_contents_test.moc"
