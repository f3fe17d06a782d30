#pragma once
// The game's help: opens the help file in a help window of the game's own.

#include <QString>
#include <QTextBrowser>
#include <QUrl>
#include <QWidget>
#include <memory>
#include <vector>

#include "help/help_chm.h"
#include "help/help_contents.h"
#include "help/help_page.h"

class QAction;
class QTreeWidget;
class QTreeWidgetItem;

namespace morvane {

// Shows help file `path` in the help window belonging to `parent` (opening
// it, or bringing it to the front when it is open already). A missing or
// unreadable file gives a message that names it; nothing else changes.
void show_help(QWidget* parent, const QString& path);

// The help window of `parent` (nullptr for none), whether shown or closed.
class HelpWindow;
HelpWindow* help_window_of(QWidget* parent);

// The object name of the message box that tells why the help cannot be
// shown. It is a window-modal box that does not block the caller.
inline constexpr char kHelpProblemBoxName[] = "morvane_help_problem";

inline constexpr char kHelpWindowTitle[] = "Morvane's Challenge II Help";

// Shows the pages of a help file. Pages have URLs of the scheme "chm"
// (chm:/index.html), so links between them and their pictures resolve
// against the page as usual and are read from the help file.
class HelpBrowser : public QTextBrowser {
    Q_OBJECT

public:
    explicit HelpBrowser(QWidget* parent = nullptr);

    void set_file(const ChmFile* file) { file_ = file; }
    QVariant loadResource(int type, const QUrl& name) override;

private:
    void follow(const QUrl& link);

    const ChmFile* file_ = nullptr;
    PictureBudget pictures_;  // what the shown page's pictures have cost
};

class HelpWindow : public QWidget {
    Q_OBJECT

public:
    explicit HelpWindow(QWidget* parent = nullptr);
    ~HelpWindow() override;

    // Shows the help file `file` from its first page on.
    void load(std::unique_ptr<ChmFile> file);

    // Shows the window, un-minimised, in front, with the keyboard focus.
    void bring_to_front();

    const ChmFile* file() const { return file_.get(); }
    QUrl home() const { return home_; }
    HelpBrowser* browser() const { return browser_; }
    QTreeWidget* contents() const { return contents_; }
    QAction* back_action() const { return back_; }
    QAction* forward_action() const { return forward_; }
    QAction* home_action() const { return home_action_; }

private:
    void fill_contents(const std::vector<HelpTopic>& topics, QTreeWidgetItem* parent);
    void open_topic(QTreeWidgetItem* item);
    void mark_topic(const QUrl& page);

    std::unique_ptr<ChmFile> file_;
    QUrl home_;
    HelpBrowser* browser_;
    QTreeWidget* contents_;
    QAction* back_;
    QAction* forward_;
    QAction* home_action_;
};

}  // namespace morvane
