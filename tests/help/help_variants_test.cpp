// The real help file damaged a few hundred ways (bit flips and cuts, the
// same every run) and read as the help window reads it: opened, its
// contents parsed, every file unpacked and every page, style sheet and
// picture prepared for the layout. Built with AddressSanitizer and
// UndefinedBehaviorSanitizer, so any bad read stops the test.
#include <QFile>
#include <QtTest>

#include "help/help_chm.h"
#include "help/help_contents.h"
#include "help/help_page.h"

using morvane::ChmFile;

namespace {

struct Reading {
    bool opened = false;
    int pages = 0, damaged = 0;
};

Reading read_all(const QByteArray& bytes) {
    Reading reading;
    const std::unique_ptr<ChmFile> file = ChmFile::from_bytes(bytes);
    if (!file) return reading;
    reading.opened = true;
    (void)file->read(QStringLiteral("/#SYSTEM"));
    for (const QString& entry : file->entries()) {
        const std::optional<QByteArray> data = file->read(entry);
        if (!data) continue;
        if (entry.endsWith(QStringLiteral(".hhc"), Qt::CaseInsensitive)) {
            morvane::parse_contents(QString::fromUtf8(*data));
        } else if (entry.endsWith(QStringLiteral(".html"), Qt::CaseInsensitive)) {
            ++reading.pages;
            reading.damaged += morvane::is_damaged_page(morvane::prepare_page(*data));
        } else if (entry.endsWith(QStringLiteral(".css"), Qt::CaseInsensitive)) {
            morvane::prepare_style_sheet(*data);
        } else {
            morvane::prepare_picture(*data);
        }
    }
    return reading;
}

}  // namespace

class HelpVariantsTest : public QObject {
    Q_OBJECT

private slots:
    void damagedHelpFilesAreReadSafely() {
        QFile in(QStringLiteral(MORVANE_HELP_FILE));
        QVERIFY(in.open(QIODevice::ReadOnly));
        const QByteArray real = in.readAll();
        const Reading whole = read_all(real);
        QVERIFY(whole.opened);
        QCOMPARE(whole.pages, 6);
        QCOMPARE(whole.damaged, 0);

        // 320 single bit flips and 80 cuts, spread over the file.
        quint32 state = 20261207;
        auto next = [&state] { return state = state * 1664525u + 1013904223u; };
        int opened = 0, pages = 0, damaged = 0;
        for (int variant = 0; variant < 400; ++variant) {
            QByteArray bytes = real;
            if (variant < 320)
                bytes[next() % bytes.size()] ^= static_cast<char>(1 << (next() % 8));
            else
                bytes.truncate(static_cast<qsizetype>(next() % bytes.size()));
            const Reading reading = read_all(bytes);
            opened += reading.opened;
            pages += reading.pages;
            damaged += reading.damaged;
        }
        qInfo("400 damaged help files: %d opened, %d pages read, %d shown as damaged", opened, pages, damaged);
        QVERIFY(opened > 200);  // most damage leaves the file readable: the pages were read
    }
};

QTEST_MAIN(HelpVariantsTest)
#include "help_variants_test.moc"
