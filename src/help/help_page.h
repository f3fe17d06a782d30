#pragma once
// What the help window hands to Qt's text layout: pages, style sheets and
// pictures from the help file, checked and bounded first, so that a damaged
// or hostile help file can neither freeze the window nor make it read
// anything but the help file.

#include <QByteArray>
#include <QImage>
#include <QString>
#include <QUrl>
#include <QVariant>

namespace morvane {

class ChmFile;

// The text shown instead of a page that cannot be shown safely.
inline constexpr char kDamagedPageText[] = "This help page is damaged.";

// Bounds on what a page may ask of the layout. Qt lays out the cells of a
// table inside a table about three times over for each level, so the time a
// page takes grows threefold with every table nested in another.
struct PageLimits {
    static constexpr qsizetype kMaxBytes = 128 * 1024;
    static constexpr int kMaxNesting = 64;         // elements open at once, as written
    static constexpr int kMaxTableNesting = 8;     // tables inside tables, as Qt reads them
    static constexpr qint64 kMaxCellWork = 30000;  // sum over cells of 3^(tables around them)
    // Qt reads list items and table cells in time that grows with the
    // square of their number.
    static constexpr int kMaxListItems = 1000;
    static constexpr int kMaxCells = 5000;
    // Each floating picture or table is placed against all before it.
    static constexpr int kMaxFloats = 200;
    static constexpr int kMaxSpan = 100;     // colspan, rowspan
    static constexpr int kMaxLength = 4000;  // width, height (pixels), CSS lengths
    static constexpr int kMaxSpacing = 100;  // border, cellpadding, cellspacing, hspace, vspace
    static constexpr int kMaxPictureSide = 4096;
    static constexpr int kMaxPictureTags = 2000;
    // What the pictures of one page may cost together: how many are read,
    // how many bytes of the help file they take, how many pixels they
    // decode to (four bytes each). Pictures past these bounds are shown
    // as placeholders.
    static constexpr int kMaxPictures = 256;
    static constexpr qint64 kMaxPictureBytes = 16 * 1024 * 1024;
    static constexpr qint64 kMaxPicturePixels = 16 * 1024 * 1024;
};

// What one page's pictures have cost so far (see PageLimits).
struct PictureBudget {
    int pictures = 0;
    qint64 bytes = 0;
    qint64 pixels = 0;
};

// A page of the help file, ready for the layout: decoded (pages say their
// encoding in a meta tag; UTF-8 otherwise), control characters left out and
// numbers in tags and styles held within PageLimits; or, when it would ask
// too much of the layout, a short page that says it is damaged.
QString prepare_page(const QByteArray& data);
bool is_damaged_page(const QString& html);

// A style sheet of the help file, its lengths held within PageLimits.
QString prepare_style_sheet(const QByteArray& data);

// A picture of the help file, decoded; a small placeholder (never a null
// image) when it cannot be read or is larger than PageLimits allows.
QImage prepare_picture(const QByteArray& data, PictureBudget* budget = nullptr);

// The small picture shown for one that cannot be shown; never a null image.
QImage placeholder_picture();

// The page shown for a link to a page that the help file lacks.
QString missing_page(const QUrl& url);

// What a help page gets for resource `url` (already resolved against the
// page) of QTextDocument resource type `type`: only ever read from `file`,
// never from anywhere else. The answer is never a null QVariant, as a null
// one would let QTextDocument look for the resource on the disk itself.
// Pictures are charged to `budget`, when given, and are placeholders once
// it is spent.
QVariant help_resource(const ChmFile* file, int type, const QUrl& url, PictureBudget* budget = nullptr);

// The scheme of the URLs of the help file's pages: "chm:/index.html".
inline const QString kHelpScheme = QStringLiteral("chm");

}  // namespace morvane
