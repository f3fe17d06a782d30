#include "drive/driver.h"

#include <QApplication>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QGroupBox>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <memory>
#include <string>

#include "core/cell_text.h"

namespace morvane {

void DrivenWindow::play_cue(std::string_view file) {
    enter_program_folder();  // as the cue player would; the cue is not sounded
    cues << QString::fromUtf8(file.data(), static_cast<qsizetype>(file.size()));
}

void DrivenWindow::message(std::string_view text, std::string_view title, Icon icon) {
    render();
    messages.push_back({QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())),
                        QString::fromUtf8(title.data(), static_cast<qsizetype>(title.size())), icon});
}

void DrivenWindow::open_help(std::string_view file) {
    help << QString::fromUtf8(file.data(), static_cast<qsizetype>(file.size()));
}

namespace {

// The palette figure of code box `box`, by name ("Morvy", "YEL", ...).
QLatin1String figure_name(int box) { return QLatin1String(picture_name(picture_of_box(box))); }

int pointer_value(const QWidget* widget) {
    return widget->cursor().shape() == Qt::ArrowCursor ? kPointerArrow : kPointerNoDrop;
}

// The index in "Name(i)" when `token` has that form and i is 0..last.
int indexed(const QString& token, const QString& name, int last) {
    static const QRegularExpression form(QStringLiteral("^([A-Za-z_]+)\\((\\d{1,2})\\)$"));
    const auto match = form.match(token);
    if (!match.hasMatch() || match.captured(1) != name) return -1;
    const int index = match.captured(2).toInt();
    return index <= last ? index : -1;
}

}  // namespace

int Driver::run(std::istream& script, std::ostream& out, std::ostream& errors) {
    std::string raw;
    int number = 0;
    while (std::getline(script, raw)) {
        ++number;
        if (!raw.empty() && raw.back() == '\r') raw.pop_back();
        const QString line = QString::fromStdString(raw);
        const QString trimmed = line.trimmed();
        if (trimmed.isEmpty() || trimmed.startsWith(QLatin1Char('#'))) continue;
        const QString why = execute(line, out);
        if (!why.isEmpty()) {
            out.flush();
            errors << "line " << number << ": " << why.toStdString() << std::endl;
            return 2;
        }
        out.flush();
    }
    return 0;
}

QString Driver::execute(const QString& line, std::ostream& out) {
    const QString trimmed = line.trimmed();
    const QStringList words = trimmed.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    const QString command = words.value(0);

    // The named controls a command may act on.
    auto control = [this](const QString& name) -> QWidget* {
        if (const int n = indexed(name, QStringLiteral("Square"), kCells); n >= 0) return window_.cell(n);
        if (const int i = indexed(name, QStringLiteral("CODE"), kBoxes - 1); i >= 0) return window_.code_box(i);
        if (name == QLatin1String("cinsert")) return window_.cinsert_button();
        if (name == QLatin1String("Randomizer_button")) return window_.randomizer_button();
        if (name == QLatin1String("Reset_button")) return window_.reset_button();
        if (name == QLatin1String("reseto")) return window_.reseto_button();
        if (name == QLatin1String("score_box")) return window_.score_edit();
        if (name == QLatin1String("spot")) return window_.spot_box();
        for (int i = 0; i < kBoxes; ++i)
            if (name == figure_name(i)) return window_.figure(i);
        return nullptr;
    };
    QWindow* handle = window_.windowHandle();
    auto centre = [this](QWidget* widget) { return widget->mapTo(&window_, widget->rect().center()); };

    if (command == QLatin1String("seed")) {
        bool ok = false;
        const qlonglong value = words.value(1).toLongLong(&ok);
        if (words.size() != 2 || !ok) return QStringLiteral("seed needs one whole number");
        window_.game().dealer.seed(static_cast<std::uint64_t>(value));
        return {};
    }
    if (command == QLatin1String("draws")) {
        std::vector<int> cells;
        for (qsizetype i = 1; i < words.size(); ++i) {
            bool ok = false;
            const int cell = words[i].toInt(&ok);
            if (!ok || cell < 1 || cell > kCells)
                return QStringLiteral("draws takes whole numbers 1 to 28, not '%1'").arg(words[i]);
            cells.push_back(cell);
        }
        for (int cell : cells) window_.game().dealer.queue(cell);
        return {};
    }
    if (command == QLatin1String("click") || command == QLatin1String("dblclick")) {
        QWidget* target = words.size() == 2 ? control(words[1]) : nullptr;
        if (!target) return QStringLiteral("%1 needs one control name").arg(command);
        if (command == QLatin1String("dblclick") && target != window_.score_edit())
            return QStringLiteral("dblclick works on score_box only");
        if (!target->isVisible()) return {};
        if (command == QLatin1String("click"))
            QTest::mouseClick(handle, Qt::LeftButton, Qt::NoModifier, centre(target));
        else
            QTest::mouseDClick(handle, Qt::LeftButton, Qt::NoModifier, centre(target));
        return {};
    }
    if (command == QLatin1String("type")) {
        // TEXT is everything after the single blank that follows the control.
        const QString rest = line.mid(line.indexOf(QLatin1String("type")) + 4);
        if (!rest.startsWith(QLatin1Char(' '))) return QStringLiteral("type needs a box");
        const QString after = rest.mid(1);
        const qsizetype blank = after.indexOf(QLatin1Char(' '));
        const QString name = blank < 0 ? after : after.left(blank);
        const QString text = blank < 0 ? QString() : after.mid(blank + 1);
        QWidget* target = control(name);
        if (!target || (indexed(name, QStringLiteral("CODE"), kBoxes - 1) < 0 && name != QLatin1String("score_box")))
            return QStringLiteral("type works on CODE(0) to CODE(6) and score_box, not '%1'").arg(name);
        if (!target->isVisible()) return {};
        QTest::mouseClick(handle, Qt::LeftButton, Qt::NoModifier, centre(target));
        QTest::keyClick(handle, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(handle, Qt::Key_Delete);
        for (const QChar c : text) {
            const Qt::Key key = c.unicode() < 128 ? static_cast<Qt::Key>(QTest::asciiToKey(static_cast<char>(c.unicode())))
                                                  : Qt::Key_unknown;
            QTest::sendKeyEvent(QTest::Click, handle, key, QString(c), Qt::NoModifier);
        }
        return {};
    }
    if (command == QLatin1String("drop")) {
        int figure = -1;
        for (int i = 0; i < kBoxes; ++i)
            if (words.value(1) == figure_name(i)) figure = i;
        const int n = indexed(QStringLiteral("Square(%1)").arg(words.value(2)), QStringLiteral("Square"), kCells);
        if (words.size() != 3 || figure < 0 || n < 0)
            return QStringLiteral("drop needs a palette figure and a cell 0 to 28");
        QWidget* cell = window_.cell(n);
        if (!window_.figure(figure)->isVisible() || !cell->isVisible()) return {};
        // The user lets go of the figure over the centre of the cell: the
        // drop goes to whatever control stands there.
        const QPoint point = centre(cell);
        QWidget* target = window_.childAt(point);
        if (!target) return {};
        const QPoint local = target->mapFrom(&window_, point);
        std::unique_ptr<QMimeData> data(figure_mime_data(figure));
        QDragEnterEvent enter(local, Qt::MoveAction, data.get(), Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(target, &enter);
        if (!enter.isAccepted()) return {};
        QDragMoveEvent move(local, Qt::MoveAction, data.get(), Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(target, &move);
        QDropEvent drop(local, Qt::MoveAction, data.get(), Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(target, &drop);
        return {};
    }
    if (command == QLatin1String("key")) {
        const QKeySequence sequence = QKeySequence::fromString(words.value(1), QKeySequence::PortableText);
        if (words.size() != 2 || sequence.count() != 1 || sequence[0].key() == Qt::Key_unknown)
            return QStringLiteral("key needs one key name, such as F1");
        QTest::keyClick(handle, sequence[0].key(), sequence[0].keyboardModifiers());
        return {};
    }
    if (command == QLatin1String("dump")) {
        if (words.size() != 1) return QStringLiteral("dump takes nothing more");
        out << dump().toStdString() << '\n';
        return {};
    }
    return QStringLiteral("unknown command '%1'").arg(command);
}

QString Driver::dump() {
    QJsonObject state;
    QJsonArray squares;
    for (int n = 0; n <= kCells; ++n) {
        const QPushButton* cell = window_.cell(n);
        squares.append(QJsonObject{{QStringLiteral("shown"), !cell->isHidden()},
                                   {QStringLiteral("picture"), QLatin1String(picture_name(window_.picture_shown(n)))},
                                   {QStringLiteral("caption"), cell->text()},
                                   {QStringLiteral("pointer"), pointer_value(cell)}});
    }
    state[QStringLiteral("Square")] = squares;
    auto box_state = [](const QLineEdit* box) {
        return QJsonObject{{QStringLiteral("text"), box->text()},
                           {QStringLiteral("locked"), box->isReadOnly()},
                           {QStringLiteral("shown"), !box->isHidden()}};
    };
    QJsonArray boxes;
    for (int i = 0; i < kBoxes; ++i) boxes.append(box_state(window_.code_box(i)));
    state[QStringLiteral("CODE")] = boxes;
    state[QStringLiteral("spot")] = box_state(window_.spot_box());
    const QLineEdit* score = window_.score_edit();
    state[QStringLiteral("score_box")] =
        QJsonObject{{QStringLiteral("text"), score->text()}, {QStringLiteral("locked"), score->isReadOnly()}};
    auto button = [&state](const char* name, const QPushButton* b) {
        state[QLatin1String(name)] =
            QJsonObject{{QStringLiteral("caption"), b->text()}, {QStringLiteral("shown"), !b->isHidden()}};
    };
    button("cinsert", window_.cinsert_button());
    button("Randomizer_button", window_.randomizer_button());
    button("Reset_button", window_.reset_button());
    button("reseto", window_.reseto_button());
    const QGroupBox* frame = window_.frame1();
    state[QStringLiteral("Frame1")] = QJsonObject{{QStringLiteral("caption"), frame->title()},
                                                  {QStringLiteral("font_size"), frame->font().pointSizeF()}};
    QJsonObject figures;
    for (int i = 0; i < kBoxes; ++i) figures[figure_name(i)] = !window_.figure(i)->isHidden();
    state[QStringLiteral("palette")] = figures;
    const Morvymod& vars = window_.game().morvymod;
    state[QStringLiteral("moves_left")] = static_cast<qint64>(vars.moves_left);
    state[QStringLiteral("score")] = static_cast<qint64>(vars.score);
    state[QStringLiteral("cell_count")] = static_cast<qint64>(vars.cell_count);
    state[QStringLiteral("restore_mode")] = static_cast<qint64>(vars.restore_mode);
    QString focus_name;
    if (const QWidget* focus = window_.focusWidget()) {
        const QString name = focus->objectName();
        static const QRegularExpression named(QStringLiteral(
            "^(Square\\(\\d+\\)|CODE\\(\\d\\)|cinsert|Randomizer_button|Reset_button|reseto|score_box|spot|"
            "Morvy|YEL|BLU|NAV|GRE|RED|ORA)$"));
        if (named.match(name).hasMatch()) focus_name = name;
    }
    state[QStringLiteral("focus")] = focus_name;
    state[QStringLiteral("cues")] = QJsonArray::fromStringList(window_.cues);
    QJsonArray messages;
    for (const auto& m : window_.messages)
        messages.append(QJsonObject{
            {QStringLiteral("text"), m.text},
            {QStringLiteral("title"), m.title},
            {QStringLiteral("icon"), m.icon == Icon::Warning ? QStringLiteral("warning") : QStringLiteral("information")}});
    state[QStringLiteral("messages")] = messages;
    state[QStringLiteral("help")] = QJsonArray::fromStringList(window_.help);
    window_.cues.clear();
    window_.messages.clear();
    window_.help.clear();
    return QString::fromUtf8(QJsonDocument(state).toJson(QJsonDocument::Compact));
}

}  // namespace morvane
