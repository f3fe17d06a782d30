#include "help/help_page.h"

#include <QBuffer>
#include <QImageReader>
#include <QRegularExpression>
#include <QSet>
#include <QStringDecoder>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextTable>
#include <optional>
#include <vector>

#include "help/help_chm.h"

namespace morvane {

namespace {

// What a picture that the help file lacks, or cannot show, looks like.
// It must not be a null image: for one of those, Qt's layout loads the
// picture's name from the disk itself.
QImage placeholder() {
    static const QImage picture = [] {
        QImage image(QStringLiteral(":/qt-project.org/styles/commonstyle/images/file-16.png"));
        if (image.isNull()) {
            image = QImage(1, 1, QImage::Format_ARGB32);
            image.fill(Qt::transparent);
        }
        return image;
    }();
    return picture;
}

QString damaged_page() {
    return QStringLiteral("<html><head><title>Damaged page</title></head><body><p>%1</p></body></html>")
        .arg(QString::fromLatin1(kDamagedPageText));
}

bool is_control(char16_t c) { return (c < 0x20 && c != u'\t' && c != u'\n' && c != u'\r') || (c >= 0x7f && c <= 0x9f); }

QString without_controls(const QString& text) {
    QString out;
    out.reserve(text.size());
    for (const QChar c : text)
        if (!is_control(c.unicode())) out += c;
    return out;
}

// Lengths in styles ("font-size: 90000px") held within kMaxLength.
QString bounded_lengths(const QString& text) {
    static const QRegularExpression length(QStringLiteral(R"((?<![#\w.])(\d{5,}|\d+\.\d*)(px|pt|pc|em|ex|cm|mm|in|%))"),
                                           QRegularExpression::CaseInsensitiveOption);
    QString out;
    qsizetype last = 0;
    for (auto it = length.globalMatch(text); it.hasNext();) {
        const QRegularExpressionMatch match = it.next();
        const double value = match.captured(1).toDouble();
        if (value <= PageLimits::kMaxLength) continue;
        out += QStringView(text).mid(last, match.capturedStart(1) - last);
        out += QString::number(PageLimits::kMaxLength);
        last = match.capturedEnd(1);
    }
    if (last == 0) return text;
    out += QStringView(text).mid(last);
    return out;
}

int attribute_bound(const QString& name) {
    if (name == u"colspan" || name == u"rowspan") return PageLimits::kMaxSpan;
    if (name == u"width" || name == u"height") return PageLimits::kMaxLength;
    if (name == u"size") return 7;
    return PageLimits::kMaxSpacing;  // border, cellpadding, cellspacing, hspace, vspace
}

// A tag's numeric attributes held within their bounds.
QString bounded_tag(const QString& tag) {
    static const QRegularExpression number(
        QStringLiteral(
            R"(\b(colspan|rowspan|width|height|size|border|cellpadding|cellspacing|hspace|vspace)(\s*=\s*["']?\s*)([-+]?\d+))"),
        QRegularExpression::CaseInsensitiveOption);
    QString out;
    qsizetype last = 0;
    for (auto it = number.globalMatch(tag); it.hasNext();) {
        const QRegularExpressionMatch match = it.next();
        const int bound = attribute_bound(match.captured(1).toLower());
        bool ok = false;
        const qlonglong value = match.captured(3).toLongLong(&ok);
        if (ok && value >= 0 && value <= bound) continue;
        out += QStringView(tag).mid(last, match.capturedStart(3) - last);
        out += QString::number(ok && value < 0 ? 0 : bound);
        last = match.capturedEnd(3);
    }
    if (last == 0) return tag;
    out += QStringView(tag).mid(last);
    return out;
}

// Elements that hold nothing and are never closed.
bool is_empty_element(const QString& name) {
    static const QSet<QString> names = {"br",     "img",   "hr",       "meta",  "link",    "input",
                                        "param",  "area",  "base",     "col",   "wbr",     "embed",
                                        "source", "track", "basefont", "frame", "isindex", "spacer"};
    return names.contains(name);
}

// For an element whose end tag may be left out, the elements that bound
// it: a new <li> ends the open <li> of the same list, not one of a list
// around it.
const QSet<QString>* implied_end_bounds(const QString& name) {
    static const QSet<QString> list = {"ul", "ol", "menu", "dir"};
    static const QSet<QString> table = {"table"};
    static const QSet<QString> definitions = {"dl"};
    static const QSet<QString> select = {"select"};
    static const QSet<QString> paragraph = {"div",        "table", "td", "th", "li",   "ul",    "ol",
                                            "blockquote", "dl",    "dd", "dt", "body", "center"};
    if (name == u"li") return &list;
    if (name == u"td" || name == u"th" || name == u"tr" || name == u"thead" || name == u"tbody" || name == u"tfoot")
        return &table;
    if (name == u"dt" || name == u"dd") return &definitions;
    if (name == u"option") return &select;
    if (name == u"p") return &paragraph;
    return nullptr;
}

// One tag of a page, as Qt's HTML reader takes it: every '<' starts a tag
// (or a comment, or a declaration), whatever follows; a tag's name ends at
// a blank, '<', '=', '>' or "/>"; its attributes, read only after a blank,
// may be quoted and then hold '<' and '>'; and the tag ends at the first
// '>' after them, whatever stands in between.
struct Tag {
    qsizetype begin = 0;       // the '<'
    qsizetype end = 0;         // just past the closing '>' (or the end of the text)
    qsizetype attributes = 0;  // where the attributes start
    QString name;              // lower case; empty for comments and declarations
    bool closing = false;
};

class TagReader {
public:
    explicit TagReader(const QString& text) : text_(text) {}

    // The next tag from where the last one ended; false at the end.
    bool next(Tag& tag) {
        pos_ = text_.indexOf(u'<', pos_);
        if (pos_ < 0) return false;
        tag = Tag{};
        tag.begin = pos_++;
        skip_blanks();
        if (at(u'!')) {
            ++pos_;
            if (at(u'-') && at(u'-', 1)) {
                const qsizetype end = text_.indexOf(QStringLiteral("-->"), pos_ + 2);
                pos_ = end < 0 ? text_.size() : end + 3;
            } else {
                finish();
            }
            tag.end = pos_;
            tag.attributes = tag.end;
            return true;
        }
        if (at(u'/')) {
            ++pos_;
            tag.closing = true;
        }
        tag.name = word().toLower();
        tag.attributes = pos_;
        if (!tag.closing && pos_ < text_.size() && text_[pos_].isSpace()) attributes();
        finish();
        tag.end = pos_;
        return true;
    }

private:
    bool at(char16_t c, qsizetype ahead = 0) const { return pos_ + ahead < text_.size() && text_[pos_ + ahead] == c; }
    void skip_blanks() {
        while (pos_ < text_.size() && text_[pos_].isSpace()) ++pos_;
    }
    // Past the '>' that ends the tag.
    void finish() {
        const qsizetype end = text_.indexOf(u'>', pos_);
        pos_ = end < 0 ? text_.size() : end + 1;
    }
    QString word() {
        const qsizetype start = pos_;
        if (at(u'"') || at(u'\'')) {
            const QChar quote = text_[pos_++];
            const qsizetype end = text_.indexOf(quote, pos_);
            pos_ = end < 0 ? text_.size() : end + 1;
            return text_.mid(start + 1, std::max<qsizetype>(0, pos_ - start - 2));
        }
        while (pos_ < text_.size()) {
            const QChar c = text_[pos_];
            if (c == u'>' || c == u'<' || c == u'=' || c.isSpace() || (c == u'/' && at(u'>', 1))) break;
            ++pos_;
        }
        return text_.mid(start, pos_ - start);
    }
    void attributes() {
        while (pos_ < text_.size()) {
            skip_blanks();
            if (at(u'>') || at(u'/')) return;
            if (word().isEmpty()) return;
            skip_blanks();
            if (at(u'=')) {
                ++pos_;
                skip_blanks();
                word();
            }
        }
    }

    const QString& text_;
    qsizetype pos_ = 0;
};

// The page's text with every tag's numbers bounded, or nothing when its
// elements nest deeper than kMaxNesting as written, or it has more list
// items, table cells, pictures or floating elements than Qt takes in
// reasonable time. Tags are read as Qt's reader reads them (TagReader),
// and the depth is counted as a reader of HTML would: end tags that may be
// left out are taken as given where the next element of the kind starts.
std::optional<QString> bounded_markup(const QString& text) {
    static const QRegularExpression floating(QStringLiteral(R"(float|align\s*=\s*["']?\s*(left|right))"),
                                             QRegularExpression::CaseInsensitiveOption);
    std::vector<QString> open;
    int items = 0, cells = 0, floats = 0, pictures = 0;
    QString out;
    out.reserve(text.size());
    qsizetype last = 0;
    TagReader reader(text);
    for (Tag tag; reader.next(tag);) {
        out += QStringView(text).mid(last, tag.begin - last);
        const QString written = text.mid(tag.begin, tag.end - tag.begin);
        out += tag.name.isEmpty() ? written : bounded_tag(written);
        last = tag.end;
        if (tag.name.isEmpty()) continue;

        const QString& name = tag.name;
        auto find_open = [&](const QSet<QString>* bounds) -> std::ptrdiff_t {
            for (std::ptrdiff_t at = std::ssize(open) - 1; at >= 0; --at) {
                if (open[at] == name) return at;
                if (bounds && bounds->contains(open[at])) return -1;
            }
            return -1;
        };
        if (tag.closing) {
            if (const std::ptrdiff_t at = find_open(nullptr); at >= 0) open.resize(at);
            continue;
        }
        const QStringView attributes = QStringView(text).mid(tag.attributes, tag.end - tag.attributes);
        if (name == u"li" && ++items > PageLimits::kMaxListItems) return std::nullopt;
        if ((name == u"td" || name == u"th") && ++cells > PageLimits::kMaxCells) return std::nullopt;
        if (name == u"img" && ++pictures > PageLimits::kMaxPictureTags) return std::nullopt;
        if (floating.match(attributes).hasMatch() && ++floats > PageLimits::kMaxFloats) return std::nullopt;
        if (is_empty_element(name) || attributes.endsWith(QStringLiteral("/>"))) continue;
        if (const QSet<QString>* bounds = implied_end_bounds(name))
            if (const std::ptrdiff_t at = find_open(bounds); at >= 0) open.resize(at);
        open.push_back(name);
        if (std::ssize(open) > PageLimits::kMaxNesting) return std::nullopt;
    }
    out += QStringView(text).mid(last);
    return out;
}

// A document that finds no resource at all, for looking at a page's
// structure before it is laid out.
class BareDocument : public QTextDocument {
protected:
    QVariant loadResource(int type, const QUrl&) override {
        if (type == QTextDocument::ImageResource) return placeholder();
        return QString();
    }
};

// Whether Qt's layout can take the page as Qt reads it: how deep its tables
// nest and how much work their cells make.
bool layout_can_take(const QString& html) {
    BareDocument document;
    document.setHtml(html);
    struct Level {
        QTextFrame* frame;
        int tables;  // tables around the frame's contents, the frame included
    };
    qint64 work = 0;
    std::vector<Level> pending{{document.rootFrame(), 0}};
    while (!pending.empty()) {
        const Level level = pending.back();
        pending.pop_back();
        int tables = level.tables;
        if (const auto* table = qobject_cast<QTextTable*>(level.frame)) {
            ++tables;
            if (tables > PageLimits::kMaxTableNesting) return false;
            qint64 weight = 1;
            for (int i = 0; i < tables; ++i) weight *= 3;
            work += weight * table->rows() * table->columns();
            if (work > PageLimits::kMaxCellWork) return false;
        }
        for (QTextFrame* child : level.frame->childFrames()) pending.push_back({child, tables});
    }
    return true;
}

}  // namespace

QString prepare_page(const QByteArray& data) {
    if (data.size() > PageLimits::kMaxBytes) return damaged_page();
    QStringDecoder decoder(QStringConverter::encodingForHtml(data).value_or(QStringConverter::Utf8));
    const QString text = decoder(data);
    const std::optional<QString> markup = bounded_markup(bounded_lengths(without_controls(text)));
    if (!markup || !layout_can_take(*markup)) return damaged_page();
    return *markup;
}

bool is_damaged_page(const QString& html) { return html == damaged_page(); }

QString prepare_style_sheet(const QByteArray& data) {
    if (data.size() > PageLimits::kMaxBytes) return QString();
    return bounded_lengths(without_controls(QString::fromUtf8(data)));
}

QImage prepare_picture(const QByteArray& data, PictureBudget* budget) {
    QBuffer buffer;
    buffer.setData(data);
    QImageReader reader(&buffer);
    const QSize size = reader.size();
    if (!size.isValid() || size.width() > PageLimits::kMaxPictureSide || size.height() > PageLimits::kMaxPictureSide)
        return placeholder();
    const qint64 pixels = qint64(size.width()) * size.height();
    if (budget) {
        if (budget->pixels + pixels > PageLimits::kMaxPicturePixels) return placeholder();
        budget->pixels += pixels;
    }
    // Whatever the picture says of its size, decoding it takes no more.
    reader.setAllocationLimit(int(std::max<qint64>(1, pixels * 4 / (1024 * 1024) + 1)));
    const QImage picture = reader.read();
    return picture.isNull() ? placeholder() : picture;
}

QImage placeholder_picture() { return placeholder(); }

QString missing_page(const QUrl& url) {
    return QStringLiteral("<html><head><title>Page not found</title></head><body>"
                          "<h2>Page not found</h2><p>The help file has no page <i>%1</i>.</p>"
                          "<p>Use the contents on the left, or go back.</p></body></html>")
        .arg(url.path().toHtmlEscaped());
}

QVariant help_resource(const ChmFile* file, int type, const QUrl& url, PictureBudget* budget) {
    const bool ours = file && url.scheme() == kHelpScheme;
    const QString name = url.path(QUrl::FullyDecoded);
    switch (type) {
        case QTextDocument::HtmlResource:
        case QTextDocument::MarkdownResource: {
            const std::optional<QByteArray> data = ours ? file->read(name) : std::nullopt;
            return data ? prepare_page(*data) : missing_page(url);
        }
        case QTextDocument::StyleSheetResource: {
            const std::optional<QByteArray> data = ours ? file->read(name) : std::nullopt;
            return data ? prepare_style_sheet(*data) : QString();
        }
        default: {
            if (!ours) return placeholder();
            if (budget) {
                const qint64 size = file->size_of(name);
                if (size < 0 || budget->pictures >= PageLimits::kMaxPictures ||
                    budget->bytes + size > PageLimits::kMaxPictureBytes)
                    return placeholder();
                ++budget->pictures;
                budget->bytes += size;
            }
            const std::optional<QByteArray> data = file->read(name);
            return data ? prepare_picture(*data, budget) : placeholder();
        }
    }
}

}  // namespace morvane
