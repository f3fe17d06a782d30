// Writes the key names Qt reads in morvane-drive's `key` lines, lower case,
// with each key's code: the table morvane-web-drive reads them by
// (src/web/drive/qt_keys.json, made from this program's output by keeping the first code
// of each name). Single characters are not listed: they name themselves.
//
//     g++ -std=c++20 -fPIC tools/qt-key-names.cpp $(pkg-config --cflags --libs Qt6Gui) -o qt-key-names
#include <QGuiApplication>
#include <QKeySequence>
#include <QMetaEnum>
#include <cstdio>
int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    const QMetaEnum keys = QMetaEnum::fromType<Qt::Key>();
    std::printf("{\n");
    bool first = true;
    for (int i = 0; i < keys.keyCount(); ++i) {
        const int key = keys.value(i);
        const QString own = QKeySequence(key).toString(QKeySequence::PortableText);
        const QString meta = QString::fromLatin1(keys.key(i)).mid(4);
        for (const QString& name : {own, meta}) {
            const QKeySequence back = QKeySequence::fromString(name, QKeySequence::PortableText);
            if (name.isEmpty() || name.contains(QLatin1Char(' ')) || back.count() != 1 || back[0].key() != key) continue;
            if (name.size() == 1) continue;  // characters are read as themselves
            std::printf("%s  \"%s\": %d", first ? "" : ",\n", name.toLower().toUtf8().constData(), key);
            first = false;
        }
    }
    std::printf("\n}\n");
}
