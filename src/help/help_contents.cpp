#include "help/help_contents.h"

#include <QHash>
#include <QRegularExpression>

namespace morvane {

namespace {

QString decode_entities(const QString& text) {
    static const QHash<QString, QString> named = {
        {QStringLiteral("amp"), QStringLiteral("&")},  {QStringLiteral("lt"), QStringLiteral("<")},
        {QStringLiteral("gt"), QStringLiteral(">")},   {QStringLiteral("quot"), QStringLiteral("\"")},
        {QStringLiteral("apos"), QStringLiteral("'")}, {QStringLiteral("nbsp"), QStringLiteral("\u00a0")},
    };
    static const QRegularExpression reference(QStringLiteral("&(#x[0-9a-fA-F]+|#[0-9]+|[a-zA-Z]+);"));
    QString out;
    qsizetype last = 0;
    for (auto it = reference.globalMatch(text); it.hasNext();) {
        const QRegularExpressionMatch match = it.next();
        out += text.mid(last, match.capturedStart() - last);
        const QString body = match.captured(1);
        QString replacement = match.captured(0);
        if (body.startsWith(QStringLiteral("#"))) {
            bool ok = false;
            const uint code = body.startsWith(QStringLiteral("#x"), Qt::CaseInsensitive) ? body.mid(2).toUInt(&ok, 16)
                                                                                         : body.mid(1).toUInt(&ok, 10);
            if (ok && code > 0 && code <= 0x10FFFF) {
                const char32_t character = code;
                replacement = QString::fromUcs4(&character, 1);
            }
        } else if (auto found = named.constFind(body.toLower()); found != named.cend()) {
            replacement = *found;
        }
        out += replacement;
        last = match.capturedEnd();
    }
    out += text.mid(last);
    return out;
}

// The attributes of a tag, names lower-cased, values decoded.
QHash<QString, QString> attributes(const QString& tag_body) {
    static const QRegularExpression attribute(
        QStringLiteral(R"re(([A-Za-z_:][-A-Za-z0-9_:.]*)\s*(?:=\s*(?:"([^"]*)"|'([^']*)'|([^\s"'>]+)))?)re"));
    QHash<QString, QString> found;
    for (auto it = attribute.globalMatch(tag_body); it.hasNext();) {
        const QRegularExpressionMatch match = it.next();
        QString value = match.captured(2);
        if (value.isNull()) value = match.captured(3);
        if (value.isNull()) value = match.captured(4);
        found.insert(match.captured(1).toLower(), decode_entities(value));
    }
    return found;
}

}  // namespace

std::vector<HelpTopic> parse_contents(const QString& text) {
    static const QRegularExpression tag(QStringLiteral(R"(<(/?)([A-Za-z]+)([^>]*)>)"));

    std::vector<HelpTopic> top;
    // The lists being filled, outermost first. A <UL> opens the children of
    // the item just before it; a <UL> with no item before it opens nothing
    // new and its items join the list around it.
    std::vector<std::vector<HelpTopic>*> lists{&top};
    std::vector<bool> opened;  // per <UL>: whether it pushed onto `lists`
    bool in_topic = false;
    HelpTopic topic;
    int topics = 0;

    for (auto it = tag.globalMatch(text); it.hasNext();) {
        const QRegularExpressionMatch match = it.next();
        const bool closing = !match.captured(1).isEmpty();
        const QString name = match.captured(2).toLower();
        if (name == QStringLiteral("ul")) {
            if (!closing) {
                std::vector<HelpTopic>& current = *lists.back();
                const bool nests = !current.empty() && lists.size() < static_cast<size_t>(kMaxContentsDepth);
                if (nests) lists.push_back(&current.back().children);
                opened.push_back(nests);
            } else if (!opened.empty()) {
                if (opened.back()) lists.pop_back();
                opened.pop_back();
            }
        } else if (name == QStringLiteral("object")) {
            if (!closing) {
                const auto attrs = attributes(match.captured(3));
                in_topic =
                    attrs.value(QStringLiteral("type")).compare(QStringLiteral("text/sitemap"), Qt::CaseInsensitive) ==
                    0;
                topic = HelpTopic{};
            } else if (in_topic) {
                in_topic = false;
                if (!topic.name.isEmpty()) {
                    lists.back()->push_back(std::move(topic));
                    if (++topics == kMaxTopics) break;
                }
                topic = HelpTopic{};
            }
        } else if (name == QStringLiteral("param") && in_topic && !closing) {
            const auto attrs = attributes(match.captured(3));
            const QString key = attrs.value(QStringLiteral("name")).toLower();
            const QString value = attrs.value(QStringLiteral("value")).trimmed();
            // A topic may name several pages; the first one counts.
            if (key == QStringLiteral("name") && topic.name.isEmpty()) topic.name = value;
            if (key == QStringLiteral("local") && topic.local.isEmpty()) topic.local = value;
        }
    }
    return top;
}

QUrl topic_url(const QString& local) {
    const QUrl url(local);
    if (local.isEmpty()) return {};
    if (!url.scheme().isEmpty()) return url;
    return QUrl(QStringLiteral("chm:/")).resolved(url);
}

}  // namespace morvane
