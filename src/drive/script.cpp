#include "drive/script.h"

#include <QKeySequence>
#include <QLatin1String>
#include <QRegularExpression>
#include <QStringList>

#include "game/controls.h"
#include "game/figures.h"

namespace morvane {

namespace {

// The index in "Name(i)" when `token` has that form and i is 0..last.
int indexed(const QString& token, const QString& name, int last) {
    static const QRegularExpression form(QStringLiteral("^([A-Za-z_]+)\\((\\d{1,2})\\)$"));
    const auto match = form.match(token);
    if (!match.hasMatch() || match.captured(1) != name) return -1;
    const int index = match.captured(2).toInt();
    return index <= last ? index : -1;
}

// The palette figure called `name` ("Morvy", "YEL", ...), or -1.
int figure_called(const QString& name) { return figure_named(name.toStdString()); }

// The text a key types: what Qt's test keyboard gives the keys it knows,
// and for other keys that stand for a character, that character in lower
// case, as letters are typed without Shift. Keys that stand for no
// character (Copy, Undo, F1, ...) type nothing.
QString text_of(int key) {
    switch (key) {
        case Qt::Key_Escape: return QStringLiteral("\x1b");
        case Qt::Key_Tab: return QStringLiteral("\t");
        case Qt::Key_Backtab: return QStringLiteral("\v");
        case Qt::Key_Backspace: return QStringLiteral("\b");
        case Qt::Key_Return:
        case Qt::Key_Enter: return QStringLiteral("\r");
        default: break;
    }
    if (key < 0x20 || key >= 0x01000000 || (key >= 0x7f && key < 0xa0) || (key >= 0xd800 && key < 0xe000)) return {};
    const char32_t character = static_cast<char32_t>(key);
    return QString::fromUcs4(&character, 1).toLower();
}

}  // namespace

std::optional<Control> control_named(const QString& name) {
    if (const int n = indexed(name, QStringLiteral("Square"), kCells); n >= 0) return Control{Control::Square, n};
    if (const int i = indexed(name, QStringLiteral("CODE"), kBoxes - 1); i >= 0) return Control{Control::Code, i};
    if (name == QLatin1String("cinsert")) return Control{Control::Cinsert};
    if (name == QLatin1String("Randomizer_button")) return Control{Control::Randomizer};
    if (name == QLatin1String("Reset_button")) return Control{Control::Reset};
    if (name == QLatin1String("reseto")) return Control{Control::Reseto};
    if (name == QLatin1String("score_box")) return Control{Control::ScoreBox};
    if (name == QLatin1String("spot")) return Control{Control::Spot};
    if (const int figure = figure_called(name); figure >= 0) return Control{Control::Figure, figure};
    return std::nullopt;
}

std::optional<Keystroke> key_typing(QChar c) {
    const char16_t code = c.unicode();
    Qt::Key key = Qt::Key_unknown;  // characters beyond ASCII: the text alone
    if (code >= 'a' && code <= 'z')
        key = static_cast<Qt::Key>(code - 'a' + 'A');
    else if (code >= 0x20 && code < 0x7f)
        key = static_cast<Qt::Key>(code);
    else if (code < 0x20 || code == 0x7f) {
        // The control characters that a key of its own types (Backspace,
        // Tab, Return, Escape), and three more that Qt's test keyboard has
        // always typed this way.
        switch (code) {
            case 0x08: key = Qt::Key_Backspace; break;
            case 0x09: key = Qt::Key_Tab; break;
            case 0x0b: key = Qt::Key_Backtab; break;
            case 0x0d: key = Qt::Key_Return; break;
            case 0x13: key = Qt::Key_Up; break;
            case 0x15: key = Qt::Key_Down; break;
            case 0x1b: key = Qt::Key_Escape; break;
            default: return std::nullopt;
        }
    }
    return Keystroke{key, Qt::NoModifier, QString(c)};
}

std::optional<Keystroke> key_named(const QString& name) {
    const QKeySequence sequence = QKeySequence::fromString(name, QKeySequence::PortableText);
    if (sequence.count() != 1) return std::nullopt;
    const QKeyCombination combination = sequence[0];
    const int key = combination.key();
    if (key == 0 || key == Qt::Key_unknown) return std::nullopt;
    return Keystroke{combination.key(), combination.keyboardModifiers(), text_of(key)};
}

std::variant<Command, QString> parse_command(const QString& line) {
    const QString trimmed = line.trimmed();
    const QStringList words = trimmed.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    const QString name = words.value(0);
    Command command;

    if (name == QLatin1String("seed")) {
        bool ok = false;
        const qlonglong value = words.value(1).toLongLong(&ok);
        if (words.size() != 2 || !ok) return QStringLiteral("seed needs one whole number");
        command.kind = Command::Seed;
        command.seed = static_cast<std::uint64_t>(value);
        return command;
    }
    if (name == QLatin1String("draws")) {
        command.kind = Command::Draws;
        for (qsizetype i = 1; i < words.size(); ++i) {
            bool ok = false;
            const int cell = words[i].toInt(&ok);
            if (!ok || cell < 1 || cell > kCells)
                return QStringLiteral("draws takes whole numbers 1 to 28, not '%1'").arg(words[i]);
            command.cells.push_back(cell);
        }
        return command;
    }
    if (name == QLatin1String("click") || name == QLatin1String("dblclick")) {
        const auto control = words.size() == 2 ? control_named(words[1]) : std::nullopt;
        if (!control) return QStringLiteral("%1 needs one control name").arg(name);
        command.kind = name == QLatin1String("click") ? Command::Click : Command::DoubleClick;
        if (command.kind == Command::DoubleClick && control->kind != Control::ScoreBox)
            return QStringLiteral("dblclick works on score_box only");
        command.control = *control;
        return command;
    }
    if (name == QLatin1String("type")) {
        // TEXT is everything after the single blank that follows the control.
        const QString rest = line.mid(line.indexOf(QLatin1String("type")) + 4);
        if (!rest.startsWith(QLatin1Char(' '))) return QStringLiteral("type needs a box");
        const QString after = rest.mid(1);
        const qsizetype blank = after.indexOf(QLatin1Char(' '));
        const QString box = blank < 0 ? after : after.left(blank);
        const QString text = blank < 0 ? QString() : after.mid(blank + 1);
        const auto control = control_named(box);
        if (!control || (control->kind != Control::Code && control->kind != Control::ScoreBox))
            return QStringLiteral("type works on CODE(0) to CODE(6) and score_box, not '%1'").arg(box);
        command.kind = Command::Type;
        command.control = *control;
        // Each character is checked here and turned into its key only as
        // it is typed, so that a long text is never held as keys.
        for (const QChar c : text)
            if (!key_typing(c))
                return QStringLiteral("type cannot type the control character U+%1")
                    .arg(QStringLiteral("%1").arg(c.unicode(), 4, 16, QLatin1Char('0')).toUpper());
        command.text = text;
        return command;
    }
    if (name == QLatin1String("drop")) {
        const int figure = figure_called(words.value(1));
        const int cell = indexed(QStringLiteral("Square(%1)").arg(words.value(2)), QStringLiteral("Square"), kCells);
        if (words.size() != 3 || figure < 0 || cell < 0)
            return QStringLiteral("drop needs a palette figure and a cell 0 to 28");
        command.kind = Command::Drop;
        command.figure = figure;
        command.cell = cell;
        return command;
    }
    if (name == QLatin1String("key")) {
        const auto key = words.size() == 2 ? key_named(words[1]) : std::nullopt;
        if (!key) return QStringLiteral("key needs one key name, such as F1");
        command.kind = Command::Key;
        command.keys.push_back(*key);
        return command;
    }
    if (name == QLatin1String("dump")) {
        if (words.size() != 1) return QStringLiteral("dump takes nothing more");
        command.kind = Command::Dump;
        return command;
    }
    return QStringLiteral("unknown command '%1'").arg(name);
}

}  // namespace morvane
