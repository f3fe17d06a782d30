#pragma once
// How a help page's pictures are sized and drawn. Qt's own picture handler
// loads a picture's name from the disk whenever the document's answer for
// it is not a picture (a style sheet's text cached under the same URL is
// enough), and probes the disk for "@2x" variants on screens that scale.
// The help window's documents use this handler instead: a picture is what
// the document's resource lookup gave for its name, or a placeholder,
// never anything read from elsewhere.

#include <QObject>
#include <QTextObjectInterface>

class QTextDocument;

namespace morvane {

class HelpPictures : public QObject, public QTextObjectInterface {
    Q_OBJECT
    Q_INTERFACES(QTextObjectInterface)

public:
    using QObject::QObject;

    // Makes `document`'s layout size and draw pictures with a handler of
    // this kind (owned by the layout); does nothing when it does already.
    static void install(QTextDocument* document);

    QSizeF intrinsicSize(QTextDocument* document, int position, const QTextFormat& format) override;
    void drawObject(QPainter* painter, const QRectF& rect, QTextDocument* document, int position,
                    const QTextFormat& format) override;
};

}  // namespace morvane
