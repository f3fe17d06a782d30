#pragma once
// The help file's table of contents: its topics, read from the contents
// file (.hhc) that the help file stores.

#include <QString>
#include <QUrl>
#include <vector>

namespace morvane {

struct HelpTopic {
    QString name;   // what the contents panel shows
    QString local;  // the page, as written in the contents file ("boards.html#codes"); may be empty
    std::vector<HelpTopic> children;
};

// How deep the contents nest at most: topics nested deeper join the list
// at this depth, after the topic that holds them, so they stay reachable.
inline constexpr int kMaxContentsDepth = 16;
// How many topics are read at most; a contents file with more is damaged
// and the rest is left out.
inline constexpr int kMaxTopics = 100000;

// Reads a contents file: nested <UL> lists whose items are
// <OBJECT type="text/sitemap"> elements with "Name" and "Local" params.
// Tags and attribute names may be in any letter case, items need not be
// closed, and character references in values are decoded. Objects of other
// types are skipped, and so are items without a name.
std::vector<HelpTopic> parse_contents(const QString& text);

// Where a topic's page is inside the help file: "chm:/boards.html#codes".
// A page that names a scheme of its own (a web link) is returned as it is.
QUrl topic_url(const QString& local);

}  // namespace morvane
