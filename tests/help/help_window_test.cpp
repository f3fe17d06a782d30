// The help window: what F1 shows, how its pages, pictures, links, contents
// and Back button work, and what a missing help file gives.
#include <QAbstractButton>
#include <QAction>
#include <QDesktopServices>
#include <QImage>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPixmap>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextDocument>
#include <QTreeWidget>
#include <QtTest>

#include "help/help_window.h"

using morvane::HelpWindow;
using morvane::show_help;

namespace {

const QString kFile = QStringLiteral(MORVANE_HELP_FILE);

// Stands in for the game window: F1 asks for help.
class Owner : public QWidget {
public:
    explicit Owner(QString path) : path_(std::move(path)) { resize(400, 300); }

protected:
    void keyPressEvent(QKeyEvent* event) override {
        if (event->key() == Qt::Key_F1)
            show_help(this, path_);
        else
            QWidget::keyPressEvent(event);
    }

private:
    QString path_;
};

struct PageParts {
    QStringList links;    // hrefs as written
    QStringList images;   // image names as written
    QStringList anchors;  // names of places on the page
};

PageParts parts_of(const QTextDocument* document) {
    PageParts parts;
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat format = it.fragment().charFormat();
            if (format.isImageFormat()) parts.images << format.toImageFormat().name();
            if (!format.anchorHref().isEmpty()) parts.links << format.anchorHref();
            parts.anchors << format.anchorNames();
        }
    }
    return parts;
}

// A picture of the page as the page's document has it: loaded from the
// help file, or already decoded.
QImage picture(QTextDocument* document, const QString& name) {
    const QVariant data = document->resource(QTextDocument::ImageResource, QUrl(name));
    if (data.typeId() == QMetaType::QImage) return data.value<QImage>();
    if (data.typeId() == QMetaType::QPixmap) return data.value<QPixmap>().toImage();
    return QImage::fromData(data.toByteArray());
}

QTreeWidgetItem* topic_named(QTreeWidget* tree, const QString& name) {
    const auto found = tree->findItems(name, Qt::MatchExactly | Qt::MatchRecursive);
    return found.isEmpty() ? nullptr : found.first();
}

// Clicks the first link to `href` on the page shown, with the mouse.
bool click_link(QTextBrowser* browser, const QString& href) {
    QTextDocument* document = browser->document();
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (fragment.charFormat().anchorHref() != href) continue;
            QTextCursor cursor(document);
            cursor.setPosition(fragment.position() + fragment.length() / 2);
            browser->setTextCursor(cursor);
            browser->ensureCursorVisible();
            const QPoint at = browser->cursorRect(cursor).center();
            QTest::mouseClick(browser->viewport(), Qt::LeftButton, {}, at);
            return true;
        }
    }
    return false;
}

}  // namespace

// Takes the links that the help hands to the desktop.
class WebLinks : public QObject {
    Q_OBJECT

public:
    QList<QUrl> opened;

public slots:
    void open(const QUrl& url) { opened << url; }
};

class HelpWindowTest : public QObject {
    Q_OBJECT

    std::unique_ptr<Owner> owner_;

    HelpWindow* open_help() {
        owner_ = std::make_unique<Owner>(kFile);
        owner_->show();
        QTest::keyClick(owner_.get(), Qt::Key_F1);
        return morvane::help_window_of(owner_.get());
    }

private slots:
    void cleanup() { owner_.reset(); }

    void opensOnTheWelcomePageWithItsContents() {
        HelpWindow* window = open_help();
        QVERIFY(window);
        QVERIFY(window->isVisible());
        QCOMPARE(window->windowTitle(), QStringLiteral("Morvane's Challenge II Help"));
        QCOMPARE(window->size(), QSize(720, 520));
        QCOMPARE(window->browser()->source(), QUrl(QStringLiteral("chm:/index.html")));
        QCOMPARE(window->browser()->documentTitle(), QStringLiteral("Welcome to Morvane's Challenge II"));
        QVERIFY(window->browser()->toPlainText().contains(QStringLiteral("28 grey cells")));
        QVERIFY(!window->back_action()->isEnabled());

        QTreeWidget* tree = window->contents();
        QStringList top;
        for (int i = 0; i < tree->topLevelItemCount(); ++i) top << tree->topLevelItem(i)->text(0);
        QCOMPARE(top, (QStringList{"Welcome", "Playing", "Setting up a board", "Keys and buttons"}));
        QVERIFY(topic_named(tree, QStringLiteral("The coloured pieces")));
        QCOMPARE(tree->currentItem(), tree->topLevelItem(0));  // marks the page shown
    }

    // Every page of the help file opens, its pictures load, the style
    // sheet applies, and every link leads to a page and place that exist
    // or out to the web.
    void everyPageShowsWithItsPicturesAndLinks() {
        HelpWindow* window = open_help();
        QVERIFY(window);
        morvane::HelpBrowser* browser = window->browser();
        QStringList pages;
        for (const QString& entry : window->file()->entries())
            if (entry.endsWith(QStringLiteral(".html"))) pages << entry;
        QCOMPARE(pages.size(), 6);

        int pictures = 0;
        for (const QString& page : pages) {
            const QUrl url(QStringLiteral("chm:") + page);
            browser->setSource(url);
            QCOMPARE(browser->source(), url);
            QVERIFY2(!browser->documentTitle().isEmpty(), qPrintable(page));
            QVERIFY2(browser->documentTitle() != QStringLiteral("Page not found"), qPrintable(page));
            const QString css =
                browser->loadResource(QTextDocument::StyleSheetResource, QUrl(QStringLiteral("style.css"))).toString();
            QVERIFY(css.contains(QStringLiteral("h1")));

            const PageParts parts = parts_of(browser->document());
            for (const QString& image : parts.images) {
                QVERIFY2(!picture(browser->document(), image).isNull(), qPrintable(page + " " + image));
                ++pictures;
            }
            QVERIFY2(!parts.links.isEmpty(), qPrintable(page));
            for (const QString& link : parts.links) {
                const QUrl target = url.resolved(QUrl(link));
                const QString what = page + " -> " + link;
                if (target.scheme() != QStringLiteral("chm")) {
                    QVERIFY2(QStringList({"http", "https", "mailto"}).contains(target.scheme()), qPrintable(what));
                    continue;
                }
                QVERIFY2(window->file()->contains(target.path()), qPrintable(what));
                if (!target.fragment().isEmpty()) {
                    QTextDocument there;
                    there.setHtml(browser->loadResource(QTextDocument::HtmlResource, target).toString());
                    QVERIFY2(parts_of(&there).anchors.contains(target.fragment()), qPrintable(what));
                }
            }
        }
        QVERIFY(pictures >= 1);  // the legend on the pieces page
    }

    void contentsOpenTheirPages() {
        HelpWindow* window = open_help();
        QVERIFY(window);
        QTreeWidget* tree = window->contents();
        QTreeWidgetItem* codes = topic_named(tree, QStringLiteral("Board codes"));
        QVERIFY(codes);
        tree->scrollToItem(codes);
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->visualItemRect(codes).center());
        QCOMPARE(window->browser()->source(), QUrl(QStringLiteral("chm:/boards.html#codes")));
        QCOMPARE(tree->currentItem(), codes);

        // A heading without a page of its own opens or closes.
        QTreeWidgetItem* playing = topic_named(tree, QStringLiteral("Playing"));
        QVERIFY(playing && playing->isExpanded());
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->visualItemRect(playing).center());
        QVERIFY(!playing->isExpanded());
        QCOMPARE(window->browser()->source(), QUrl(QStringLiteral("chm:/boards.html#codes")));
    }

    void backReturnsAfterFollowingALink() {
        HelpWindow* window = open_help();
        QVERIFY(window);
        QTextBrowser* browser = window->browser();
        QVERIFY(click_link(browser, QStringLiteral("pieces.html")));
        QCOMPARE(browser->source(), QUrl(QStringLiteral("chm:/pieces.html")));
        QCOMPARE(browser->documentTitle(), QStringLiteral("The coloured pieces"));
        QVERIFY(window->back_action()->isEnabled());
        QTreeWidget* tree = window->contents();
        QCOMPARE(tree->currentItem(), topic_named(tree, QStringLiteral("The coloured pieces")));

        window->back_action()->trigger();
        QCOMPARE(browser->source(), QUrl(QStringLiteral("chm:/index.html")));
        QCOMPARE(browser->documentTitle(), QStringLiteral("Welcome to Morvane's Challenge II"));
        QVERIFY(!window->back_action()->isEnabled());
        QVERIFY(window->forward_action()->isEnabled());

        window->forward_action()->trigger();
        QCOMPARE(browser->source(), QUrl(QStringLiteral("chm:/pieces.html")));
        window->home_action()->trigger();
        QCOMPARE(browser->source(), QUrl(QStringLiteral("chm:/index.html")));
    }

    void webLinksOpenInTheBrowserNotHere() {
        WebLinks web;
        QDesktopServices::setUrlHandler(QStringLiteral("https"), &web, "open");
        QDesktopServices::setUrlHandler(QStringLiteral("mailto"), &web, "open");
        HelpWindow* window = open_help();
        QVERIFY(window);
        QTextBrowser* browser = window->browser();
        emit browser->anchorClicked(QUrl(QStringLiteral("https://example.org/morvane")));
        emit browser->anchorClicked(QUrl(QStringLiteral("mailto:someone@example.org")));
        emit browser->anchorClicked(QUrl(QStringLiteral("file:///etc/passwd")));
        QDesktopServices::unsetUrlHandler(QStringLiteral("https"));
        QDesktopServices::unsetUrlHandler(QStringLiteral("mailto"));

        QCOMPARE(web.opened, (QList<QUrl>{QUrl("https://example.org/morvane"), QUrl("mailto:someone@example.org")}));
        QCOMPARE(browser->source(), QUrl(QStringLiteral("chm:/index.html")));
        QVERIFY(!window->back_action()->isEnabled());
    }

    void aMissingPageSaysSo() {
        HelpWindow* window = open_help();
        QVERIFY(window);
        emit window->browser()->anchorClicked(QUrl(QStringLiteral("nowhere.html")));
        QCOMPARE(window->browser()->documentTitle(), QStringLiteral("Page not found"));
        QVERIFY(window->browser()->toPlainText().contains(QStringLiteral("/nowhere.html")));
        window->back_action()->trigger();
        QCOMPARE(window->browser()->source(), QUrl(QStringLiteral("chm:/index.html")));
    }

    // F1 again brings the open window to the front, on the page it shows;
    // after closing it, F1 opens it again from the welcome page.
    void f1TwiceGivesOneWindow() {
        HelpWindow* window = open_help();
        QVERIFY(window);
        window->browser()->setSource(QUrl(QStringLiteral("chm:/keys.html")));
        window->showMinimized();

        QTest::keyClick(owner_.get(), Qt::Key_F1);
        QCOMPARE(owner_->findChildren<HelpWindow*>().size(), 1);
        QCOMPARE(morvane::help_window_of(owner_.get()), window);
        QVERIFY(window->isVisible());
        QVERIFY(!window->isMinimized());
        QCOMPARE(window->browser()->source(), QUrl(QStringLiteral("chm:/keys.html")));

        window->close();
        QVERIFY(!window->isVisible());
        QTest::keyClick(owner_.get(), Qt::Key_F1);
        QCOMPARE(owner_->findChildren<HelpWindow*>().size(), 1);
        QVERIFY(window->isVisible());
        QCOMPARE(window->browser()->source(), QUrl(QStringLiteral("chm:/index.html")));
        QVERIFY(!window->back_action()->isEnabled());
        QVERIFY(owner_->findChildren<QMessageBox*>().isEmpty());
    }

    void eachOwnerHasItsOwnWindow() {
        HelpWindow* first = open_help();
        Owner other(kFile);
        other.show();
        QTest::keyClick(&other, Qt::Key_F1);
        HelpWindow* second = morvane::help_window_of(&other);
        QVERIFY(first && second && first != second);
        QVERIFY(first->isVisible() && second->isVisible());
    }

    void aFileThatCannotBeShownGivesAMessageNamingIt_data() {
        QTest::addColumn<QString>("kind");
        QTest::newRow("missing") << "missing";
        QTest::newRow("folder") << "folder";
        QTest::newRow("not a help file") << "text";
    }
    void aFileThatCannotBeShownGivesAMessageNamingIt() {
        QFETCH(QString, kind);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("Morvane.chm"));
        if (kind == QStringLiteral("folder")) QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("Morvane.chm")));
        if (kind == QStringLiteral("text")) {
            QFile out(path);
            QVERIFY(out.open(QIODevice::WriteOnly));
            out.write("Just some text.\n");
        }
        Owner owner(path);
        owner.show();
        QTest::keyClick(&owner, Qt::Key_F1);
        QTest::keyClick(&owner, Qt::Key_F1);  // no second message on top of the first

        QVERIFY(!morvane::help_window_of(&owner));
        const auto boxes = owner.findChildren<QMessageBox*>(QString::fromLatin1(morvane::kHelpProblemBoxName));
        QCOMPARE(boxes.size(), 1);
        QMessageBox* box = boxes.first();
        QVERIFY(box->isVisible());
        QVERIFY2(box->text().contains(QDir::toNativeSeparators(path)), qPrintable(box->text()));
        QCOMPARE(box->text(), morvane::help_file_problem(path));
        QCOMPARE(box->icon(), QMessageBox::Warning);

        // The box waits for no one: the owner goes on, and OK closes it.
        QVERIFY(owner.isEnabled());
        QTest::mouseClick(box->button(QMessageBox::Ok), Qt::LeftButton);
        QTRY_VERIFY(owner.findChildren<QMessageBox*>().isEmpty());
    }
};

QTEST_MAIN(HelpWindowTest)
#include "help_window_test.moc"
