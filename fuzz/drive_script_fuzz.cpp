// Fuzz target: morvane-drive's script reader. Every line of the input is
// read as a command, as the driver reads it, without a window.

#include <QByteArray>
#include <QList>
#include <QString>
#include <cstdint>
#include <cstdlib>
#include <variant>

#include "drive/script.h"

namespace {
void check(bool holds) {
    if (!holds) std::abort();
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace morvane;
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    for (QByteArray raw : bytes.split('\n')) {
        if (raw.endsWith('\r')) raw.chop(1);
        const QString line = QString::fromUtf8(raw);
        const auto parsed = parse_command(line);
        if (const QString* why = std::get_if<QString>(&parsed)) {
            check(!why->isEmpty());
            continue;
        }
        const Command& command = std::get<Command>(parsed);
        for (const Keystroke& key : command.keys) check(key.key != 0);
        for (const QChar c : command.text) check(key_typing(c).has_value() && key_typing(c)->key != 0);
        if (command.kind == Command::Key) check(command.keys.size() == 1 && command.keys[0].key != Qt::Key_unknown);
        if (command.kind == Command::Drop) check(command.figure >= 0 && command.figure < 7 && command.cell <= 28);
        for (int cell : command.cells) check(cell >= 1 && cell <= 28);
    }
    return 0;
}
