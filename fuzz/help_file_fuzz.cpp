// libFuzzer target: the input as the game's help file, shown in the game's
// help window. An input that starts as a compiled help file ("ITSF") is
// one; any other input is the files of a help file as they are, so that
// mutations reach the pages' tags and paths directly: the text up to the
// first line "@@ NAME" is index.html, and each such line starts file NAME.
//
// The window loads the file (its contents, its first page) and every page
// it stores is opened, laid out at the window's width and drawn, through
// the window's own resource lookup and picture handling. The target fails
// (aborts) when anything outside the help file was opened or looked up
// meanwhile, and when one page keeps the window thread busy for more than
// kPageSeconds of processor time (a bound on work far above what any page
// allowed through should need, even under the sanitizers). Runs on Qt's
// offscreen platform, without a display.
#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QTextDocument>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <ctime>

#include "help/help_chm.h"
#include "help/help_window.h"
#include "opened_files.h"

namespace {

constexpr double kPageSeconds = 10;
constexpr int kMostPages = 16;

double processor_seconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) + double(now.tv_nsec) / 1e9;
}

std::unique_ptr<morvane::ChmFile> help_file(const QByteArray& input) {
    if (input.startsWith("ITSF")) return morvane::ChmFile::from_bytes(input);
    QList<std::pair<QString, QByteArray>> files{{QStringLiteral("index.html"), {}}};
    for (const QByteArray& line : input.split('\n')) {
        if (line.startsWith("@@ "))
            files.append({QString::fromUtf8(line.mid(3).trimmed()), {}});
        else
            files.last().second += line + '\n';
    }
    return morvane::ChmFile::from_files(files);
}

void fail_if(bool failed, const char* why, const std::vector<std::string>& paths = {}) {
    if (!failed) return;
    std::fprintf(stderr, "help_file_fuzz: %s\n", why);
    for (const std::string& path : paths) std::fprintf(stderr, "  %s\n", path.c_str());
    std::abort();
}

morvane::HelpWindow* window = nullptr;

// Qt's parser warns at length about what damaged pages hold.
void quiet(QtMsgType type, const QMessageLogContext&, const QString& text) {
    if (type == QtFatalMsg) {
        std::fprintf(stderr, "%s\n", qPrintable(text));
        std::abort();
    }
}

}  // namespace

// fontconfig keeps what it allocated for the fonts until the process ends.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig\n"; }

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "help_file_fuzz";
    static char* argv[] = {name, nullptr};
    new QApplication(argc, argv);
    qInstallMessageHandler(quiet);
    // The record of opened files works, or every input would pass.
    opened_files::arm(true);
    QFile(QStringLiteral("/etc/hostname")).open(QIODevice::ReadOnly);
    (void)QFileInfo::exists(QStringLiteral("/nonexistent/probe.png"));
    opened_files::arm(false);
    const std::vector<std::string> probes = opened_files::take();
    fail_if(probes.size() != 2, "the record of opened files does not work:", probes);
    window = new morvane::HelpWindow;
    window->resize(720, 520);
    window->show();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::unique_ptr<morvane::ChmFile> file =
        help_file(QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)));
    if (!file) return 0;
    QStringList pages;
    for (const QString& entry : file->entries())
        if (pages.size() < kMostPages && (entry.endsWith(QStringLiteral(".html"), Qt::CaseInsensitive) ||
                                          entry.endsWith(QStringLiteral(".htm"), Qt::CaseInsensitive)))
            pages << entry;

    opened_files::arm(true);
    double started = processor_seconds();
    window->load(std::move(file));
    fail_if(processor_seconds() - started > kPageSeconds, "loading the file took too long");
    QTextBrowser* browser = window->browser();
    QImage canvas(720, 520, QImage::Format_ARGB32_Premultiplied);
    for (const QString& page : pages) {
        started = processor_seconds();
        browser->setSource(QUrl(morvane::kHelpScheme + QStringLiteral(":") + page));
        browser->document()->documentLayout()->documentSize();
        QPainter painter(&canvas);
        browser->document()->drawContents(&painter, QRectF(0, 0, 720, 520));
        painter.end();
        fail_if(processor_seconds() - started > kPageSeconds, "a page took too long");
    }
    opened_files::arm(false);
    const std::vector<std::string> opened = opened_files::take();
    fail_if(!opened.empty(), "files outside the help file were opened:", opened);
    return 0;
}
