#include "help/help_window.h"

#include <QAction>
#include <QDesktopServices>
#include <QFileInfo>
#include <QHeaderView>
#include <QKeySequence>
#include <QMessageBox>
#include <QPointer>
#include <QShortcut>
#include <QSplitter>
#include <QStringDecoder>
#include <QStyle>
#include <QTextDocument>
#include <QToolBar>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "help/help_pictures.h"

namespace morvane {

namespace {

const QString& kScheme = kHelpScheme;
constexpr int kUrlRole = Qt::UserRole;

bool is_web_link(const QUrl& url) {
    const QString scheme = url.scheme().toLower();
    return scheme == QStringLiteral("http") || scheme == QStringLiteral("https") ||
           scheme == QStringLiteral("mailto") || scheme == QStringLiteral("ftp");
}

QString contents_text(const QByteArray& data) {
    // Contents files say their encoding in a meta tag; UTF-8 otherwise.
    QStringDecoder decoder(QStringConverter::encodingForHtml(data).value_or(QStringConverter::Utf8));
    return decoder(data);
}

// The pages that a help window opens when its file does not name one.
QString first_page(const ChmFile& file) {
    if (!file.default_topic().isEmpty()) return file.default_topic();
    if (file.contains(QStringLiteral("index.html"))) return QStringLiteral("index.html");
    for (const QString& entry : file.entries())
        if (entry.endsWith(QStringLiteral(".html"), Qt::CaseInsensitive) ||
            entry.endsWith(QStringLiteral(".htm"), Qt::CaseInsensitive))
            return entry;
    return QStringLiteral("index.html");
}

QString contents_name(const ChmFile& file) {
    if (!file.contents_file().isEmpty()) return file.contents_file();
    for (const QString& entry : file.entries())
        if (entry.endsWith(QStringLiteral(".hhc"), Qt::CaseInsensitive)) return entry;
    return {};
}

// The window of a parentless caller.
QPointer<HelpWindow>& parentless_window() {
    static QPointer<HelpWindow> window;
    return window;
}

void show_problem(QWidget* parent, const QString& problem) {
    QMessageBox* box = nullptr;
    if (parent)
        box = parent->findChild<QMessageBox*>(QString::fromLatin1(kHelpProblemBoxName), Qt::FindDirectChildrenOnly);
    if (!box) {
        box = new QMessageBox(QMessageBox::Warning, QStringLiteral("Morvane's Challenge II"), QString(),
                              QMessageBox::Ok, parent);
        box->setObjectName(QString::fromLatin1(kHelpProblemBoxName));
        box->setAttribute(Qt::WA_DeleteOnClose);
    }
    box->setText(problem);
    box->open();
    box->raise();
}

}  // namespace

HelpBrowser::HelpBrowser(QWidget* parent) : QTextBrowser(parent) {
    // Every link goes through follow(): help pages stay here, the web goes
    // to the player's browser.
    setOpenLinks(false);
    setOpenExternalLinks(false);
    setSearchPaths({});
    // The pages are dark text on white whatever the desktop's theme, so
    // their links are dark too: a dark theme's light blue (#308CC6) or
    // Fusion's magenta for a visited link would read at under 4.5:1.
    QPalette page = palette();
    for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        page.setColor(group, QPalette::Base, Qt::white);
        page.setColor(group, QPalette::Text, QColor(0x20, 0x20, 0x20));
        page.setColor(group, QPalette::Link, QColor(0x1a, 0x4f, 0xa0));         // 7.9:1 on white
        page.setColor(group, QPalette::LinkVisited, QColor(0x6a, 0x2c, 0x91));  // 8.8:1
    }
    setPalette(page);
    HelpPictures::install(document());
    connect(this, &QTextBrowser::anchorClicked, this, &HelpBrowser::follow);
}

void HelpBrowser::follow(const QUrl& link) {
    const QUrl target = link.isRelative() ? source().resolved(link) : link;
    if (target.scheme() == kScheme)
        setSource(target);
    else if (is_web_link(target))
        QDesktopServices::openUrl(target);
    // Anything else (local files, scripts) is not followed.
}

// Every page, picture and style sheet comes from the help file, or is
// empty: never a null answer, which would let the document read the disk.
// Each page starts a new budget for its pictures.
QVariant HelpBrowser::loadResource(int type, const QUrl& name) {
    HelpPictures::install(document());
    const QUrl url = name.isRelative() ? source().resolved(name) : name;
    if (type == QTextDocument::HtmlResource) pictures_ = PictureBudget{};
    return help_resource(file_, type, url, &pictures_);
}

HelpWindow::HelpWindow(QWidget* parent)
    : QWidget(parent, Qt::Window),
      browser_(new HelpBrowser),
      contents_(new QTreeWidget),
      back_(new QAction(style()->standardIcon(QStyle::SP_ArrowBack), tr("Back"), this)),
      forward_(new QAction(style()->standardIcon(QStyle::SP_ArrowForward), tr("Forward"), this)),
      home_action_(new QAction(style()->standardIcon(QStyle::SP_DirHomeIcon), tr("Home"), this)) {
    setObjectName(QStringLiteral("morvane_help_window"));
    setWindowTitle(QString::fromLatin1(kHelpWindowTitle));
    resize(720, 520);

    back_->setShortcut(QKeySequence::Back);
    back_->setToolTip(tr("Back to the page you came from (Alt+Left)"));
    back_->setEnabled(false);
    forward_->setShortcut(QKeySequence::Forward);
    forward_->setToolTip(tr("Forward again (Alt+Right)"));
    forward_->setEnabled(false);
    home_action_->setShortcut(QKeySequence(Qt::ALT | Qt::Key_Home));
    home_action_->setToolTip(tr("The welcome page (Alt+Home)"));

    auto* tools = new QToolBar;
    tools->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    tools->setIconSize(QSize(16, 16));
    tools->addAction(back_);
    tools->addAction(forward_);
    tools->addAction(home_action_);

    contents_->setHeaderHidden(true);
    contents_->setRootIsDecorated(true);
    contents_->setUniformRowHeights(true);

    auto* split = new QSplitter(Qt::Horizontal);
    split->addWidget(contents_);
    split->addWidget(browser_);
    split->setStretchFactor(0, 0);
    split->setStretchFactor(1, 1);
    split->setChildrenCollapsible(false);
    split->setSizes({210, 510});

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(tools);
    layout->addWidget(split, 1);

    connect(back_, &QAction::triggered, browser_, &QTextBrowser::backward);
    connect(forward_, &QAction::triggered, browser_, &QTextBrowser::forward);
    connect(home_action_, &QAction::triggered, this, [this] { browser_->setSource(home_); });
    connect(browser_, &QTextBrowser::backwardAvailable, back_, &QAction::setEnabled);
    connect(browser_, &QTextBrowser::forwardAvailable, forward_, &QAction::setEnabled);
    connect(browser_, &QTextBrowser::sourceChanged, this, &HelpWindow::mark_topic);
    connect(contents_, &QTreeWidget::itemClicked, this, &HelpWindow::open_topic);
    connect(contents_, &QTreeWidget::itemActivated, this, &HelpWindow::open_topic);
    auto* close_key = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(close_key, &QShortcut::activated, this, &QWidget::close);
}

HelpWindow::~HelpWindow() {
    // The browser may ask for resources while it goes; it must not find a
    // closed file.
    browser_->set_file(nullptr);
}

void HelpWindow::load(std::unique_ptr<ChmFile> file) {
    browser_->set_file(file.get());
    file_ = std::move(file);

    contents_->clear();
    if (const QString name = contents_name(*file_); !name.isEmpty())
        if (const std::optional<QByteArray> text = file_->read(name))
            fill_contents(parse_contents(contents_text(*text)), nullptr);
    contents_->expandAll();

    home_ = topic_url(first_page(*file_));
    if (home_.scheme() != kScheme) home_ = topic_url(QStringLiteral("index.html"));
    // Nothing of an earlier file may stay: not its pictures, which the
    // document keeps, nor the page, nor the way back to it.
    browser_->document()->clear();
    if (browser_->source().adjusted(QUrl::RemoveFragment) == home_.adjusted(QUrl::RemoveFragment)) browser_->reload();
    browser_->setSource(home_);
    browser_->clearHistory();
}

void HelpWindow::bring_to_front() {
    setWindowState((windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
    show();
    raise();
    activateWindow();
    browser_->setFocus();
}

void HelpWindow::fill_contents(const std::vector<HelpTopic>& topics, QTreeWidgetItem* parent) {
    for (const HelpTopic& topic : topics) {
        auto* item = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(contents_);
        item->setText(0, topic.name);
        item->setToolTip(0, topic.name);
        item->setData(0, kUrlRole, topic_url(topic.local));
        fill_contents(topic.children, item);
    }
}

void HelpWindow::open_topic(QTreeWidgetItem* item) {
    if (!item) return;
    const QUrl url = item->data(0, kUrlRole).toUrl();
    if (url.isEmpty())
        item->setExpanded(!item->isExpanded());
    else if (url.scheme() == kScheme)
        browser_->setSource(url);
    else if (is_web_link(url))
        QDesktopServices::openUrl(url);
}

// Selects the contents item of `page`: the one naming exactly this page and
// place, else the first naming the page.
void HelpWindow::mark_topic(const QUrl& page) {
    QTreeWidgetItem* exact = nullptr;
    QTreeWidgetItem* same_page = nullptr;
    const QUrl bare = page.adjusted(QUrl::RemoveFragment);
    for (QTreeWidgetItemIterator it(contents_); *it && !exact; ++it) {
        const QUrl url = (*it)->data(0, kUrlRole).toUrl();
        if (url == page)
            exact = *it;
        else if (!same_page && url.adjusted(QUrl::RemoveFragment) == bare)
            same_page = *it;
    }
    QTreeWidgetItem* item = exact ? exact : same_page;
    const QSignalBlocker quiet(contents_);
    contents_->setCurrentItem(item);
    if (item) contents_->scrollToItem(item);
}

HelpWindow* help_window_of(QWidget* parent) {
    if (!parent) return parentless_window();
    return parent->findChild<HelpWindow*>(QString(), Qt::FindDirectChildrenOnly);
}

void show_help(QWidget* parent, const QString& path) {
    HelpWindow* window = help_window_of(parent);
    const QString wanted = QFileInfo(path).absoluteFilePath();
    // F1 with the help open: the same window comes to the front.
    if (window && window->isVisible() && window->file() && window->file()->path() == wanted) {
        window->bring_to_front();
        return;
    }
    QString problem;
    std::unique_ptr<ChmFile> file = ChmFile::open(path, &problem);
    if (!file) {
        show_problem(parent, problem);
        return;
    }
    if (!window) {
        window = new HelpWindow(parent);
        if (!parent) parentless_window() = window;
    }
    window->load(std::move(file));
    window->bring_to_front();
}

}  // namespace morvane
