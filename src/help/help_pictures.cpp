#include "help/help_pictures.h"

#include <QAbstractTextDocumentLayout>
#include <QImage>
#include <QPaintDevice>
#include <QPainter>
#include <QPixmap>
#include <QTextDocument>
#include <QTextFormat>
#include <QUrl>
#include <algorithm>

#include "help/help_page.h"

namespace morvane {

namespace {

// The picture the document holds for `format`'s name: only ever what its
// resource lookup answers, a placeholder for anything that is not a picture.
QImage picture_of(QTextDocument* document, const QTextImageFormat& format) {
    const QVariant answer = document->resource(QTextDocument::ImageResource, QUrl(format.name()));
    QImage picture;
    if (answer.userType() == QMetaType::QImage)
        picture = answer.value<QImage>();
    else if (answer.userType() == QMetaType::QPixmap)
        picture = answer.value<QPixmap>().toImage();
    return picture.isNull() ? placeholder_picture() : picture;
}

qreal bounded(qreal length) { return std::clamp<qreal>(length, 0, PageLimits::kMaxLength); }

}  // namespace

void HelpPictures::install(QTextDocument* document) {
    QAbstractTextDocumentLayout* layout = document->documentLayout();
    if (dynamic_cast<HelpPictures*>(layout->handlerForObject(QTextFormat::ImageObject))) return;
    layout->registerHandler(QTextFormat::ImageObject, new HelpPictures(layout));
}

QSizeF HelpPictures::intrinsicSize(QTextDocument* document, int, const QTextFormat& format) {
    const QTextImageFormat image = format.toImageFormat();
    const bool has_width = image.hasProperty(QTextFormat::ImageWidth);
    const bool has_height = image.hasProperty(QTextFormat::ImageHeight);
    QSizeF size(bounded(image.width()), bounded(image.height()));
    if (!has_width || !has_height) {
        const QSizeF own = picture_of(document, image).deviceIndependentSize();
        if (has_width)
            size.setHeight(own.width() > 0 ? bounded(size.width() * own.height() / own.width()) : 0);
        else if (has_height)
            size.setWidth(own.height() > 0 ? bounded(size.height() * own.width() / own.height()) : 0);
        else
            size = QSizeF(bounded(own.width()), bounded(own.height()));
    }
    // As Qt's own handler does: pictures follow the text's resolution.
    if (const QPaintDevice* device = document->documentLayout()->paintDevice())
        size *= qreal(device->logicalDpiY()) / 96.0;
    return size;
}

void HelpPictures::drawObject(QPainter* painter, const QRectF& rect, QTextDocument* document, int,
                              const QTextFormat& format) {
    const QImage picture = picture_of(document, format.toImageFormat());
    painter->drawImage(rect, picture, picture.rect());
}

}  // namespace morvane
