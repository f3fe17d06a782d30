// libFuzzer target: the input as the game's help file, read the way the
// help window reads it. The archive is opened from memory, its contents
// file parsed and walked, and every file it stores is asked for as the
// window's pages ask for them: pages prepared and laid out at the help
// window's width (their pictures and style sheets loaded through the same
// code), style sheets and pictures prepared. Runs on Qt's offscreen
// platform, without a display.
#include <QAbstractTextDocumentLayout>
#include <QGuiApplication>
#include <QTextDocument>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "help/help_chm.h"
#include "help/help_contents.h"
#include "help/help_page.h"

namespace {

// A page's document, finding its resources as the help window does.
class PageDocument : public QTextDocument {
public:
    PageDocument(const morvane::ChmFile& file, QUrl page) : file_(file), page_(std::move(page)) {}

protected:
    QVariant loadResource(int type, const QUrl& name) override {
        return morvane::help_resource(&file_, type, name.isRelative() ? page_.resolved(name) : name);
    }

private:
    const morvane::ChmFile& file_;
    QUrl page_;
};

void walk_contents(const morvane::ChmFile& file) {
    QString name = file.contents_file();
    if (name.isEmpty())
        for (const QString& entry : file.entries())
            if (entry.endsWith(QStringLiteral(".hhc"), Qt::CaseInsensitive)) {
                name = entry;
                break;
            }
    const std::optional<QByteArray> text = name.isEmpty() ? std::nullopt : file.read(name);
    if (!text) return;
    const std::vector<morvane::HelpTopic> topics = morvane::parse_contents(QString::fromUtf8(*text));
    std::vector<const std::vector<morvane::HelpTopic>*> pending{&topics};
    while (!pending.empty()) {
        const auto* list = pending.back();
        pending.pop_back();
        for (const morvane::HelpTopic& topic : *list) {
            (void)morvane::topic_url(topic.local);
            pending.push_back(&topic.children);
        }
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
    new QGuiApplication(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::unique_ptr<morvane::ChmFile> file =
        morvane::ChmFile::from_bytes(QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)));
    if (!file) return 0;
    (void)file->title();
    walk_contents(*file);
    for (const QString& entry : file->entries()) {
        const QUrl url(morvane::kHelpScheme + QStringLiteral(":") + entry);
        if (entry.endsWith(QStringLiteral(".html"), Qt::CaseInsensitive) ||
            entry.endsWith(QStringLiteral(".htm"), Qt::CaseInsensitive)) {
            PageDocument page(*file, url);
            page.setHtml(morvane::help_resource(file.get(), QTextDocument::HtmlResource, url).toString());
            page.setTextWidth(500);
            (void)page.documentLayout()->documentSize();
        } else if (entry.endsWith(QStringLiteral(".css"), Qt::CaseInsensitive)) {
            (void)morvane::help_resource(file.get(), QTextDocument::StyleSheetResource, url);
        } else {
            (void)morvane::help_resource(file.get(), QTextDocument::ImageResource, url);
        }
    }
    return 0;
}
