// The window's look at the screen scale the test runs at (QT_SCALE_FACTOR):
// the same pixels under a dark desktop palette, pictures drawn for the
// screen, frame lines through their captions, texts and notes that fit, and
// boxes that keep whole characters when typed into.

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <algorithm>
#include <cmath>

#include "app/look.h"
#include "app/start.h"
#include "app/window.h"

using namespace morvane;

namespace {

class QuietWindow : public GameWindow {
public:
    using GameWindow::GameWindow;
    void message(std::string_view, std::string_view, Icon) override { render(); }
    void open_help(std::string_view) override {}
    void play_cue(std::string_view) override {}
};

// A dark desktop, as GTK's Adwaita dark theme gives it to Qt.
QPalette dark_desktop() {
    const QColor text(0xf0, 0xf0, 0xf0), face(0x32, 0x32, 0x32);
    return QPalette(text, face, QColor(0x4b, 0x4b, 0x4b), QColor(0x21, 0x21, 0x21), QColor(0x26, 0x26, 0x26), text,
                    QColor(0x4b, 0x4b, 0x4b), QColor(0x24, 0x24, 0x24), face);
}

// A widget's place in a grab of its window, in device pixels.
QRect on_screen(const QWidget* widget) {
    const QRectF r(widget->mapTo(widget->window(), QPoint(0, 0)), widget->size());
    const qreal dpr = widget->devicePixelRatioF();
    return QRectF(r.topLeft() * dpr, r.size() * dpr).toRect();
}

// Whether `picture` stands, pixel for pixel, somewhere inside `area` of `shot`.
bool shows(const QImage& shot, const QRect& area, const QImage& picture) {
    const QImage want = picture.convertToFormat(QImage::Format_RGB32);
    const QImage have = shot.convertToFormat(QImage::Format_RGB32);
    for (int top = area.top(); top + want.height() <= area.bottom() + 1; ++top)
        for (int left = area.left(); left + want.width() <= area.right() + 1; ++left) {
            bool same = true;
            for (int y = 0; same && y < want.height(); ++y)
                for (int x = 0; same && x < want.width(); ++x) same = have.pixel(left + x, top + y) == want.pixel(x, y);
            if (same) return true;
        }
    return false;
}

enum class State { Start, InPlay, CodeEntry, NoteUp };

}  // namespace

class LookTest : public QObject {
    Q_OBJECT

private slots:
    void init() { window = open(); }
    void cleanup() {
        window.reset();
        QApplication::setPalette(QPalette());
        QApplication::setFont(QFont());
    }

    void sameOnADarkDesktop_data() {
        QTest::addColumn<State>("state");
        QTest::newRow("start") << State::Start;
        QTest::newRow("in play") << State::InPlay;
        QTest::newRow("code entry") << State::CodeEntry;
        QTest::newRow("note up") << State::NoteUp;
    }
    void sameOnADarkDesktop() {
        QFETCH(State, state);
        reach(*window, state);
        const QImage light = window->grab().toImage();
        // LOOK_TEST_SHOTS=folder keeps the screenshots, to look at.
        if (const QString folder = qEnvironmentVariable("LOOK_TEST_SHOTS"); !folder.isEmpty())
            light.save(QStringLiteral("%1/%2-x%3.png")
                           .arg(folder, QString::fromLatin1(QTest::currentDataTag()).replace(' ', '-'))
                           .arg(window->devicePixelRatioF()));
        // The desktop turns dark under a window already up, and a window
        // opens on a dark desktop.
        QApplication::setPalette(dark_desktop());
        QApplication::setFont(QFont(QStringLiteral("DejaVu Serif"), 13));
        QCOMPARE(window->grab().toImage(), light);
        auto opened_dark = open();
        reach(*opened_dark, state);
        QCOMPARE(opened_dark->grab().toImage(), light);
    }

    void picturesAreDrawnForTheScreen() {
        const qreal dpr = window->devicePixelRatioF();
        if (dpr != std::floor(dpr) || dpr > 3) QSKIP("pictures are drawn for 1x, 2x and 3x screens");
        const QString density = dpr == 1 ? QString() : QStringLiteral("@%1x").arg(int(dpr));
        auto drawn = [&](const char* name) { return QImage(QStringLiteral(":/pictures/%1%2.png").arg(name, density)); };
        reach(*window, State::InPlay);  // Morvy on 9, the pieces on 3, 12, 17, 20, 25, 1
        const struct {
            int cell;
            const char* name;
        } on_cells[] = {{9, "Morvy"}, {3, "YEL"}, {12, "BLU"}, {17, "NAV"}, {20, "GRE"}, {25, "RED"}, {1, "ORA"}};
        QImage shot = window->grab().toImage();
        for (const auto& c : on_cells) QVERIFY2(shows(shot, on_screen(window->cell(c.cell)), drawn(c.name)), c.name);
        QVERIFY(shows(shot, on_screen(window->findChild<QWidget*>("Image1")), drawn("legend")));

        QTest::mouseClick(window->cinsert_button(), Qt::LeftButton);  // the palette comes up
        shot = window->grab().toImage();
        for (int i = 0; i < kBoxes; ++i) {
            const QString name = window->figure(i)->objectName();
            QVERIFY2(shows(shot, on_screen(window->figure(i)), drawn(qPrintable(name))), qPrintable(name));
        }
    }

    // Pictures read their denser versions only when drawn at a density
    // that takes them, and draw exactly as with every version read at once.
    void picturesReadLazilyDrawTheSame_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QSize>("size");
        for (const char* name : {"Morvy", "YEL", "ORA", "legend"}) {
            const QSize plain = QPixmap(QStringLiteral(":/pictures/%1.png").arg(name)).size();
            QTest::newRow(name) << name << plain;
            QTest::newRow(qPrintable(QStringLiteral("%1 in a cell").arg(name))) << name << QSize(36, 36);
        }
    }
    void picturesReadLazilyDrawTheSame() {
        QFETCH(QString, name);
        QFETCH(QSize, size);
        const QIcon every = picture_icon(name);
        for (const qreal ratio : {0.5, 1.0, 1.25, 1.5, 2.0, 2.5, 3.0, 4.0}) {
            const GamePicture lazy(name);
            const QPixmap want = every.pixmap(size, ratio), have = lazy.pixmap(size, ratio);
            QVERIFY2(have.toImage() == want.toImage() && have.devicePixelRatio() == want.devicePixelRatio(),
                     qPrintable(QStringLiteral("at %1").arg(ratio)));
        }
        const GamePicture plain(name);
        (void)plain.pixmap(plain.size(), 1.0);
        QVERIFY(!plain.denser_read());
        // In the window: the legend's larger versions only on a denser screen.
        reach(*window, State::InPlay);
        QCOMPARE(window->findChild<PictureLabel*>("Image1")->picture().denser_read(), window->devicePixelRatioF() > 1);
    }

    // The cells are painted by hand where they can be, without the style
    // sheet that describes them: they must look exactly as it draws them,
    // raised and pressed, with a picture or a caption, at every size.
    void cellsLookAsTheirStyleSheetDraws_data() {
        QTest::addColumn<State>("state");
        QTest::newRow("pictures") << State::InPlay;
        QTest::newRow("captions") << State::CodeEntry;
    }
    void cellsLookAsTheirStyleSheetDraws() {
        QFETCH(State, state);
        reach(*window, state);
        QPushButton drawn(window.get());
        drawn.hide();
        QFont font(QStringLiteral("Arial"));
        font.setPointSizeF(14.25);
        drawn.setFont(font);
        drawn.setIconSize(QSize(36, 36));
        drawn.setStyleSheet(QStringLiteral("QPushButton { background-color: #c0c0c0; color: black; border: 2px solid;"
                                           " border-color: #ffffff #808080 #808080 #ffffff; }"
                                           "QPushButton:pressed { border-color: #808080 #ffffff #ffffff #808080; }"));
        auto image = [](QWidget& w) { return w.grab().toImage().convertToFormat(QImage::Format_RGB32); };
        for (int n = 1; n <= kCells; ++n)
            for (const bool down : {false, true}) {
                QPushButton* cell = window->cell(n);
                const Picture picture = window->picture_shown(n);
                drawn.resize(cell->size());
                drawn.setText(cell->text());
                drawn.setIcon(picture == Picture::None ? QIcon() : picture_icon(QLatin1String(picture_name(picture))));
                drawn.setDown(down);
                cell->setDown(down);
                const bool same = image(*cell) == image(drawn);
                cell->setDown(false);
                QVERIFY2(same, qPrintable(QStringLiteral("cell %1%2").arg(n).arg(down ? ", pressed" : "")));
            }
    }

    void frameLinesRunThroughTheirCaptions_data() {
        QTest::addColumn<QString>("frame");
        QTest::addColumn<State>("state");
        QTest::addColumn<bool>("even");  // the controls inside have even room above and below
        QTest::newRow("Frame1") << "Frame1" << State::Start << true;
        QTest::newRow("Frame1 in code entry") << "Frame1" << State::CodeEntry << true;
        QTest::newRow("Scorer") << "Scorer" << State::Start << false;
    }
    void frameLinesRunThroughTheirCaptions() {
        QFETCH(QString, frame);
        QFETCH(State, state);
        QFETCH(bool, even);
        reach(*window, state);
        const auto* box = window->findChild<QGroupBox*>(frame);
        const QImage shot = window->grab().toImage();
        const qreal dpr = window->devicePixelRatioF();
        const QRect place = on_screen(box);
        const QRgb shadow = qRgb(0x80, 0x80, 0x80);

        // The frame's top and bottom lines, down its left edge.
        int top = -1, bottom = -1;
        for (int y = place.top(); y <= place.bottom(); ++y)
            if (shot.pixel(place.left(), y) == shadow) (top < 0 ? top : bottom) = y;
        QVERIFY(top >= 0 && bottom > top);
        // The caption's ink: the rows above the controls with dark pixels in them.
        int ink_top = -1, ink_bottom = -1;
        for (int y = place.top(); y < place.top() + std::lround(box->fontMetrics().height() * dpr); ++y)
            for (int x = place.left(); x <= place.right(); ++x)
                if (qGray(shot.pixel(x, y)) < 64) {
                    if (ink_top < 0) ink_top = y;
                    ink_bottom = y;
                }
        QVERIFY(ink_top >= 0);
        QVERIFY2(ink_top < top && top < ink_bottom, "the line runs through the caption");
        QVERIFY2(std::abs((ink_top + ink_bottom) / 2 - top) <= 2 * dpr, "through its middle");

        if (!even) return;
        int inside_top = place.bottom(), inside_bottom = place.top();
        for (const QWidget* control : box->findChildren<QWidget*>()) {
            if (!control->isVisible()) continue;
            inside_top = std::min(inside_top, on_screen(control).top());
            inside_bottom = std::max(inside_bottom, on_screen(control).bottom());
        }
        const int above = inside_top - (top + std::lround(2 * dpr));  // below the line and its light edge
        const int below = bottom - 1 - inside_bottom;
        QVERIFY2(above > 0 && std::abs(above - below) <= 2 * dpr,
                 qPrintable(QStringLiteral("%1 above, %2 below").arg(above).arg(below)));
    }

    // Every caption and label fits its control at this scale, in code entry
    // too, where the frame's caption is longest.
    void textsFitTheirControls() {
        reach(*window, State::CodeEntry);
        for (const QLabel* label : window->findChildren<QLabel*>())
            if (label->isVisible() && !label->text().isEmpty()) QVERIFY2(fits(label), qPrintable(label->objectName()));
        for (const QPushButton* button : window->findChildren<QPushButton*>())
            QVERIFY(button->fontMetrics().horizontalAdvance(button->text()) + 8 <= button->width());
        const QFontMetrics frame = window->frame1()->fontMetrics();
        QVERIFY(frame.height() + frame.horizontalAdvance(window->frame1()->title()) < window->frame1()->width());
    }

    void notesFitAndCoverNothing() {
        // No way is left: player on 1 with 2 and 20 left on the board.
        reach(*window, State::NoteUp);
        QLabel* note = window->hint_note();
        QVERIFY(note->isVisible());
        QVERIFY(note->text().startsWith(QStringLiteral("No way")));
        QVERIFY(fits(note));
        QVERIFY(covers_nothing(note));
        // The game enters code entry without a click on the window: the
        // note about the old board goes all the same.
        window->game().cinsert_Click();
        window->render();
        QVERIFY(!note->isVisible());

        // In code entry the palette is up, and the note finds room elsewhere.
        window->reseto_button()->setFocus();
        QTest::keyClick(window->windowHandle(), Qt::Key_H);
        QVERIFY(note->isVisible());
        QVERIFY(note->text().startsWith(QStringLiteral("Press OK first")));
        QVERIFY(fits(note));
        QVERIFY(covers_nothing(note));
    }

    void boxesKeepWholeCharacters_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("kept");
        QTest::newRow("é5") << QStringLiteral("é5") << QStringLiteral("é5");
        QTest::newRow("€") << QStringLiteral("€") << QStringLiteral("€");
        QTest::newRow("5é") << QStringLiteral("5é") << QStringLiteral("5é");
        QTest::newRow("€€€") << QStringLiteral("€€€") << QStringLiteral("€€");
        QTest::newRow("ü1x") << QStringLiteral("ü1x") << QStringLiteral("ü1");
    }
    void boxesKeepWholeCharacters() {
        QFETCH(QString, typed);
        QFETCH(QString, kept);
        QTest::mouseClick(window->cinsert_button(), Qt::LeftButton);
        for (int i = 0; i < kBoxes; ++i) {
            type(window->code_box(i), typed);
            QCOMPARE(window->code_box(i)->text(), kept);
            QCOMPARE(QString::fromStdString(window->game().CODE[i].text), kept);
        }
        // The score box has no limit once it takes typing.
        window->game().score_box.locked = false;
        window->render();
        type(window->score_edit(), typed + typed);
        QCOMPARE(QString::fromStdString(window->game().score_box.text), typed + typed);
    }

private:
    static std::unique_ptr<QuietWindow> open() {
        auto opened = std::make_unique<QuietWindow>(QCoreApplication::applicationDirPath());
        opened->show();
        if (!QTest::qWaitForWindowExposed(opened.get())) qWarning("the window was never exposed");
        return opened;
    }

    static void reach(QuietWindow& w, State state) {
        if (state == State::Start) return;
        const char* code[kBoxes] = {"9", "3", "12", "17", "20", "25", "1"};
        if (state == State::NoteUp) {
            for (auto& text : code) text = "";
            code[0] = "1";
        }
        for (int i = 0; i < kBoxes; ++i) w.game().CODE[i].text = code[i];
        QTest::mouseClick(w.reset_button(), Qt::LeftButton);
        if (state == State::CodeEntry) {
            QTest::mouseClick(w.cinsert_button(), Qt::LeftButton);
            QTest::keyClick(w.code_box(0), Qt::Key_1);
        }
        if (state == State::NoteUp) {
            for (int n = 3; n <= kCells; ++n) w.game().Square[n].shown = n == 20;
            w.render();
            w.reset_button()->setFocus();
            QTest::keyClick(w.windowHandle(), Qt::Key_H);
            QTRY_VERIFY_WITH_TIMEOUT(!w.hint_pending(), 20000);  // the search runs off this thread
        }
    }

    static bool fits(const QLabel* label) {
        const QRect room = label->contentsRect();
        const int flags = int(label->alignment()) | (label->wordWrap() ? Qt::TextWordWrap : 0);
        const QRect used = label->fontMetrics().boundingRect(room, flags, label->text());
        return room.contains(used);
    }

    bool covers_nothing(const QWidget* note) const {
        const auto others = window->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
        return std::none_of(others.begin(), others.end(), [&](const QWidget* other) {
            return other != note && other->isVisible() && other->geometry().intersects(note->geometry());
        });
    }

    static void type(QLineEdit* box, const QString& text) {
        QTest::mouseClick(box, Qt::LeftButton);
        QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(box, Qt::Key_Delete);
        for (const QChar c : text) QTest::sendKeyEvent(QTest::Click, box, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }

    std::unique_ptr<QuietWindow> window;
};

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    prepare_environment();
    QApplication app(argc, argv);
    prepare_application(app);
    QApplication::setCursorFlashTime(0);  // the text cursor stays put for the screenshots
    LookTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "look_test.moc"
