#pragma once
// A bare Qt window with the game window's controls at the same places:
// 29 plain push buttons on the board's 49-pixel cells, the code boxes and
// buttons in their group box, the score box, the start-cell box, the
// palette pictures, the legend and the two labels. It plays no game; it is
// what the game window's figures are measured against. Its Randomizer shows
// what a dealt board changes, as plainly as Qt allows: seven cell numbers in
// the code boxes and the start-cell box, the pictures on their cells and the
// pointers around the player, each set only where it changes.

#include <QApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyleFactory>
#include <QWidget>
#include <QIcon>
#include <array>
#include <cstdlib>
#include <random>

#include "game/figures.h"
#include "game/layout.h"

namespace bench {

namespace layout = morvane::layout;

// A place of the game window's layout table, in pixels.
inline QRect pixels(const layout::Place& place) {
    constexpr int k = layout::kTwipsPerPixel;
    return {place.left / k, place.top / k, place.width / k, place.height / k};
}

inline QFont arial(double points, bool bold = false) {
    QFont font(QStringLiteral("Arial"));
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

// What the game sets up around its QApplication, done the same way here.
inline void prepare_environment() {
    if (!qEnvironmentVariableIsSet("QT_FONT_DPI")) qputenv("QT_FONT_DPI", "96");
}
inline void prepare_application(QApplication& app) {
    if (QStyle* style = QStyleFactory::create(QStringLiteral("Fusion"))) app.setStyle(style);
}

// A push button that takes any drop and does nothing with it, as the
// game's cells take palette figures.
class DropButton : public QPushButton {
public:
    using QPushButton::QPushButton;

protected:
    void dragEnterEvent(QDragEnterEvent* event) override { event->acceptProposedAction(); }
    void dragMoveEvent(QDragMoveEvent* event) override { event->acceptProposedAction(); }
    void dropEvent(QDropEvent* event) override { event->acceptProposedAction(); }
};

class BareWindow : public QWidget {
public:
    std::array<QPushButton*, 29> cells{};
    std::array<QLineEdit*, 7> code{};
    std::array<QLabel*, 7> figures{};
    QPushButton* cinsert = nullptr;
    QPushButton* randomizer = nullptr;
    QLineEdit* score = nullptr;
    QLineEdit* spot = nullptr;

    BareWindow() {
        setWindowTitle(QStringLiteral("Bare window"));
        setFixedSize(pixels(layout::kWindow).size());
        QPalette grey = palette();
        grey.setColor(QPalette::Window, QColor(0xC0, 0xC0, 0xC0));
        grey.setColor(QPalette::Button, QColor(0xC0, 0xC0, 0xC0));
        setPalette(grey);
        setAutoFillBackground(true);
        setFont(arial(8.25));

        auto* frame2 = new QFrame(this);
        frame2->setGeometry(pixels(layout::kBoardBorder));
        QPalette white = frame2->palette();
        white.setColor(QPalette::Window, Qt::white);
        frame2->setPalette(white);
        frame2->setAutoFillBackground(true);
        for (int n = 0; n <= 28; ++n) {
            auto* cell = new DropButton(this);
            cell->setGeometry(pixels(layout::cell(n)));
            cell->setFont(arial(14.25));
            cell->setIconSize(QSize(36, 36));
            cell->setAcceptDrops(true);
            cell->setCursor(Qt::ForbiddenCursor);
            if (n == 0) cell->hide();
            cells[n] = cell;
        }
        auto* frame1 = new QGroupBox(QStringLiteral("Code"), this);
        frame1->setGeometry(pixels(layout::kCodeFrame));
        frame1->setFont(arial(12, true));
        for (int i = 0; i < 7; ++i) {
            code[i] = new QLineEdit(frame1);
            code[i]->setGeometry(pixels(layout::code_box(i)));
            code[i]->setFont(arial(14.25));
            code[i]->setMaxLength(2);
        }
        auto button = [](QWidget* parent, const char* text, QRect place) {
            auto* b = new QPushButton(QString::fromLatin1(text), parent);
            b->setGeometry(place);
            b->setFont(arial(8.25));
            return b;
        };
        cinsert = button(frame1, "Code", pixels(layout::kCinsert));
        randomizer = button(frame1, "Randomizer", pixels(layout::kRandomizer));
        button(frame1, "Start Over", pixels(layout::kReseto))->hide();
        button(frame1, "Reset", pixels(layout::kReset));
        auto* scorer = new QGroupBox(QStringLiteral("Score"), this);
        scorer->setGeometry(pixels(layout::kScoreFrame));
        scorer->setFont(arial(12, true));
        score = new QLineEdit(QStringLiteral("0"), scorer);
        score->setGeometry(pixels(layout::kScoreBox));
        score->setFont(arial(12, true));
        spot = new QLineEdit(this);
        spot->setGeometry(pixels(layout::kSpot));
        spot->setFont(arial(14.25));
        spot->hide();
        for (int i = 0; i < 7; ++i) {
            figures[i] = new QLabel(this);
            figures[i]->setGeometry(pixels(layout::figure(i)));
            const std::string_view name = morvane::kFigures[i].name;
            const QPixmap picture(QStringLiteral(":/pictures/%1.png")
                                      .arg(QLatin1String(name.data(), static_cast<qsizetype>(name.size()))));
            figures[i]->setPixmap(picture);
            figures[i]->hide();
            icons_[i + 1] = QIcon(picture);
        }
        auto* legend = new QLabel(this);
        legend->setGeometry(pixels(layout::kLegend));
        legend->setPixmap(QPixmap(QStringLiteral(":/pictures/legend.png")));
        auto* label1 = new QLabel(QStringLiteral("Press F1 for Help"), this);
        label1->setGeometry(pixels(layout::kHelpLabel));
        label1->setFont(arial(9.75, true));
        auto* label2 = new QLabel(QStringLiteral("Version 1.0"), this);
        label2->setGeometry(pixels(layout::kVersionLabel));
        label2->setFont(arial(8.25));
        QObject::connect(randomizer, &QPushButton::clicked, this, [this] { deal(); });
    }

private:
    // Seven cells drawn at random: the player's in CODE(0), shown in the
    // start-cell box, and the six pieces'; a later one covers an earlier
    // one on the same cell, the player covers them all.
    void deal() {
        std::array<int, 7> drawn{};
        for (int& cell : drawn) cell = std::uniform_int_distribution<int>(1, 28)(random_);
        std::array<int, 29> shown{};  // the picture on each cell, by icons_ index
        for (int i = 1; i < 7; ++i) shown[drawn[i]] = i + 1;
        shown[drawn[0]] = 1;
        for (int i = 0; i < 7; ++i) {
            const QString text = QString::number(drawn[i]);
            QLineEdit* box = i == 0 ? spot : code[i];
            if (box->text() != text) box->setText(text);
        }
        if (!code[0]->isHidden()) {
            code[0]->hide();
            spot->show();
        }
        const int row = (drawn[0] - 1) / 7, column = (drawn[0] - 1) % 7;
        for (int n = 1; n <= 28; ++n) {
            if (shown[n] != pictures_[n]) {
                pictures_[n] = shown[n];
                cells[n]->setIcon(icons_[shown[n]]);
            }
            const int r = (n - 1) / 7, c = (n - 1) % 7;
            const bool target = n != drawn[0] && std::abs(r - row) <= 1 && std::abs(c - column) <= 1;
            const Qt::CursorShape shape = target ? Qt::ArrowCursor : Qt::ForbiddenCursor;
            if (cells[n]->cursor().shape() != shape) cells[n]->setCursor(shape);
        }
    }

    std::array<QIcon, 8> icons_;      // [0] no picture, then the player's and the pieces'
    std::array<int, 29> pictures_{};  // what each cell shows
    std::minstd_rand random_{1};
};

}  // namespace bench
