#include "drive/driver.h"

#include <QApplication>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QGroupBox>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <memory>
#include <string>

#include "game/cell_text.h"
#include "game/figures.h"
#include "drive/script.h"

namespace morvane {

void DrivenWindow::play_cue(std::string_view file) {
    enter_program_folder();  // as the cue player would; the cue is not sounded
    cues.append(QString::fromUtf8(file.data(), static_cast<qsizetype>(file.size())));
}

void DrivenWindow::message(std::string_view text, std::string_view title, Icon icon) {
    render();
    messages.push_back({QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())),
                        QString::fromUtf8(title.data(), static_cast<qsizetype>(title.size())), icon});
}

void DrivenWindow::open_help(std::string_view file) {
    help.append(QString::fromUtf8(file.data(), static_cast<qsizetype>(file.size())));
}

namespace {

// The palette figure of code box `box`, by name ("Morvy", "YEL", ...).
QLatin1String figure_name(int box) {
    return QLatin1String(kFigures[box].name.data(), static_cast<qsizetype>(kFigures[box].name.size()));
}

int pointer_value(const QWidget* widget) {
    return widget->cursor().shape() == Qt::ArrowCursor ? kPointerArrow : kPointerNoDrop;
}

}  // namespace

namespace {

// Reads the next line of `script` into `raw`, at most kMaxLineBytes of it:
// false at the end of the script; `too_long` when the line is longer (its
// rest is not read).
bool read_line(std::istream& script, std::string& raw, bool& too_long) {
    raw.clear();
    too_long = false;
    std::streambuf* in = script.rdbuf();
    for (int c; (c = in->sbumpc()) != std::char_traits<char>::eof();) {
        if (c == '\n') return true;
        if (raw.size() == kMaxLineBytes) {
            too_long = true;
            return true;
        }
        raw.push_back(static_cast<char>(c));
    }
    return !raw.empty();
}

}  // namespace

int Driver::run(std::istream& script, std::ostream& out, std::ostream& errors) {
    std::string raw;
    raw.reserve(256);
    int number = 0;
    for (bool too_long = false; read_line(script, raw, too_long);) {
        ++number;
        if (too_long) {
            out.flush();
            errors << "line " << number << ": longer than " << kMaxLineBytes << " bytes" << std::endl;
            return 2;
        }
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
    const auto parsed = parse_command(line);
    if (const QString* why = std::get_if<QString>(&parsed)) return *why;
    const Command& command = std::get<Command>(parsed);

    auto widget = [this](const Control& control) -> QWidget* {
        switch (control.kind) {
            case Control::Square: return window_.cell(control.index);
            case Control::Code: return window_.code_box(control.index);
            case Control::Cinsert: return window_.cinsert_button();
            case Control::Randomizer: return window_.randomizer_button();
            case Control::Reset: return window_.reset_button();
            case Control::Reseto: return window_.reseto_button();
            case Control::ScoreBox: return window_.score_edit();
            case Control::Spot: return window_.spot_box();
            case Control::Figure: return window_.figure(control.index);
        }
        return nullptr;
    };
    QWindow* handle = window_.windowHandle();
    auto centre = [this](QWidget* widget) { return widget->mapTo(&window_, widget->rect().center()); };
    // Keys go through QTest with the text they type spelled out, never
    // through its ASCII key tables, which abort on keys they do not know.
    auto press = [handle](const Keystroke& key) {
        QTest::sendKeyEvent(QTest::Click, handle, key.key, key.text, key.modifiers);
    };

    switch (command.kind) {
        case Command::Seed: window_.game().dealer.seed(command.seed); return {};
        case Command::Draws:
            for (int cell : command.cells) window_.game().dealer.queue(cell);
            return {};
        case Command::Click:
        case Command::DoubleClick: {
            QWidget* target = widget(command.control);
            if (!target->isVisible()) return {};
            if (command.kind == Command::Click)
                QTest::mouseClick(handle, Qt::LeftButton, Qt::NoModifier, centre(target));
            else
                QTest::mouseDClick(handle, Qt::LeftButton, Qt::NoModifier, centre(target));
            return {};
        }
        case Command::Type: {
            QWidget* target = widget(command.control);
            if (!target->isVisible()) return {};
            QTest::mouseClick(handle, Qt::LeftButton, Qt::NoModifier, centre(target));
            press({Qt::Key_A, Qt::ControlModifier, QStringLiteral("a")});
            press({Qt::Key_Delete, Qt::NoModifier, QString()});
            for (const QChar c : command.text) press(*key_typing(c));
            return {};
        }
        case Command::Drop: {
            QWidget* cell = window_.cell(command.cell);
            if (!window_.figure(command.figure)->isVisible() || !cell->isVisible()) return {};
            // The user lets go of the figure over the centre of the cell: the
            // drop goes to whatever control stands there.
            const QPoint point = centre(cell);
            QWidget* target = window_.childAt(point);
            if (!target) return {};
            const QPoint local = target->mapFrom(&window_, point);
            std::unique_ptr<QMimeData> data(figure_mime_data(command.figure));
            QDragEnterEvent enter(local, Qt::MoveAction, data.get(), Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(target, &enter);
            if (!enter.isAccepted()) return {};
            QDragMoveEvent move(local, Qt::MoveAction, data.get(), Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(target, &move);
            QDropEvent drop(local, Qt::MoveAction, data.get(), Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(target, &drop);
            return {};
        }
        case Command::Key: press(command.keys.front()); return {};
        case Command::Dump: out << dump().toStdString() << '\n'; return {};
    }
    return {};
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
    state[QStringLiteral("cues")] = QJsonArray::fromStringList(window_.cues.names());
    QJsonArray messages;
    for (const auto& m : window_.messages.all())
        messages.append(QJsonObject{{QStringLiteral("text"), m.text},
                                    {QStringLiteral("title"), m.title},
                                    {QStringLiteral("icon"), m.icon == Icon::Warning ? QStringLiteral("warning")
                                                                                     : QStringLiteral("information")}});
    state[QStringLiteral("messages")] = messages;
    state[QStringLiteral("help")] = QJsonArray::fromStringList(window_.help.names());
    window_.cues.clear();
    window_.messages.clear();
    window_.help.clear();
    return QString::fromUtf8(QJsonDocument(state).toJson(QJsonDocument::Compact));
}

}  // namespace morvane
