// The real window under the offscreen platform: where every control stands,
// how it looks at start, and that events reach the game.

#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <atomic>
#include <chrono>
#include <memory>
#include <thread>
#include <vector>

#include "app/start.h"
#include "app/window.h"
#include "game/figures.h"
#include "game/layout.h"

using namespace morvane;

namespace {

// How long a test waits for the hint before taking it for hung.
constexpr int kHangGuard = 20000;

// A place of the window's layout table, in pixels; `in` is its parent's.
QRect pixels(const layout::Place& place, const layout::Place& in = {}) {
    constexpr int k = layout::kTwipsPerPixel;
    return {(in.left + place.left) / k, (in.top + place.top) / k, place.width / k, place.height / k};
}

QRect in_window(const QWidget* widget) { return {widget->mapTo(widget->window(), QPoint(0, 0)), widget->size()}; }

// A window whose message boxes and help do not block; it remembers what the
// board looked like while a message box was up.
class TestWindow : public GameWindow {
public:
    using GameWindow::GameWindow;
    QStringList messages, help, cues;
    QList<bool> shown_while_message;
    bool painted_while_message = false;  // every cell repaints behind the box
    void message(std::string_view text, std::string_view, Icon) override {
        render();
        messages << QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
        shown_while_message.clear();
        for (int n = 1; n <= kCells; ++n) shown_while_message << !cell(n)->isHidden();
        painted_while_message = true;
        for (int n = 0; n <= kCells; ++n) painted_while_message = painted_while_message && cell(n)->updatesEnabled();
    }
    void open_help(std::string_view file) override {
        help << QString::fromUtf8(file.data(), static_cast<qsizetype>(file.size()));
    }
    void play_cue(std::string_view file) override {
        enter_program_folder();  // as the cue player would
        cues << QString::fromUtf8(file.data(), static_cast<qsizetype>(file.size()));
        cue_folders << QDir::current().canonicalPath();
    }
    QStringList cue_folders;  // the current folder at each cue
};

// Counts the paint events the window's widgets get, and the layout
// requests (the window lays nothing out).
class PaintCounter : public QObject {
public:
    QMap<QString, int> paints;  // by widget name
    int layout_requests = 0;
    int total() const {
        int sum = 0;
        for (int n : paints) sum += n;
        return sum;
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        // (Hidden widgets paint only into pictures, not on the window.)
        if (event->type() == QEvent::Paint && static_cast<QWidget*>(watched)->isVisible())
            ++paints[watched->objectName()];
        if (event->type() == QEvent::LayoutRequest) ++layout_requests;
        return false;
    }
};

}  // namespace

class WindowTest : public QObject {
    Q_OBJECT

private slots:
    void init() {
        window = std::make_unique<TestWindow>(QCoreApplication::applicationDirPath());
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    }
    void cleanup() { window.reset(); }

    void windowIsFixedAndTitled() {
        QCOMPARE(window->size(), QSize(527, 367));
        QCOMPARE(window->minimumSize(), window->maximumSize());
        QCOMPARE(window->windowTitle(), QStringLiteral("Morvane's Challenge II"));
        QVERIFY(!window->windowIcon().isNull());
    }

    void cellsStandOnTheirGrid() {
        for (int n = 1; n <= kCells; ++n) {
            const QRect expected = pixels(layout::cell(n));
            QCOMPARE(in_window(window->cell(n)), expected);
        }
        // The corners named for the board, in pixels.
        QCOMPARE(in_window(window->cell(1)).topLeft(), QPoint(176, 96));
        QCOMPARE(in_window(window->cell(7)).topLeft(), QPoint(464, 96));
        QCOMPARE(in_window(window->cell(8)).topLeft(), QPoint(176, 144));
        QCOMPARE(in_window(window->cell(28)).topLeft(), QPoint(464, 240));
        QCOMPARE(window->cell(1)->size(), QSize(49, 49));
        QCOMPARE(in_window(window->cell(0)), pixels(layout::cell(0)));
        QVERIFY(window->cell(0)->isHidden());
    }

    void otherControlsStandWhereTheBelong_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QRect>("place");  // in the window, in pixels
        QTest::newRow("Frame2") << "Frame2" << pixels(layout::kBoardBorder);
        QTest::newRow("Frame1") << "Frame1" << pixels(layout::kCodeFrame);
        for (int i = 0; i < kBoxes; ++i)
            QTest::newRow(qPrintable(QStringLiteral("CODE(%1)").arg(i)))
                << QStringLiteral("CODE(%1)").arg(i) << pixels(layout::code_box(i), layout::kCodeFrame);
        QTest::newRow("cinsert") << "cinsert" << pixels(layout::kCinsert, layout::kCodeFrame);
        QTest::newRow("Randomizer") << "Randomizer_button" << pixels(layout::kRandomizer, layout::kCodeFrame);
        QTest::newRow("reseto") << "reseto" << pixels(layout::kReseto, layout::kCodeFrame);
        QTest::newRow("Reset") << "Reset_button" << pixels(layout::kReset, layout::kCodeFrame);
        QTest::newRow("Scorer") << "Scorer" << pixels(layout::kScoreFrame);
        QTest::newRow("score_box") << "score_box" << pixels(layout::kScoreBox, layout::kScoreFrame);
        QTest::newRow("spot") << "spot" << pixels(layout::kSpot);
        for (int i = 0; i < kBoxes; ++i) {
            const QString name = QString::fromLatin1(kFigures[i].name.data(), kFigures[i].name.size());
            QTest::newRow(qPrintable(name)) << name << pixels(layout::figure(i));
        }
        QTest::newRow("Image1") << "Image1" << pixels(layout::kLegend);
        QTest::newRow("Label1") << "Label1" << pixels(layout::kHelpLabel);
        QTest::newRow("Label2") << "Label2" << pixels(layout::kVersionLabel);
    }
    void otherControlsStandWhereTheBelong() {
        QFETCH(QString, name);
        QFETCH(QRect, place);
        const auto* widget = window->findChild<QWidget*>(name);
        QVERIFY2(widget, qPrintable(name));
        QCOMPARE(in_window(widget), place);
    }

    void spotCoversTheFirstCodeBox() {
        QCOMPARE(in_window(window->spot_box()), in_window(window->code_box(0)));
        // In front of it, once shown.
        window->game().CODE[0].text = "5";
        window->game().Reset_button_Click();
        window->render();
        const QPoint centre = in_window(window->spot_box()).center();
        QCOMPARE(window->childAt(centre), window->spot_box());
    }

    void picturesLookAsDescribed() {
        const char* names[] = {"YEL", "BLU", "NAV", "GRE", "RED", "ORA"};
        const QColor fills[] = {{255, 255, 128}, {0, 255, 255}, {64, 0, 255}, {0, 255, 0}, {255, 0, 0}, {255, 128, 64}};
        for (int i = 0; i < 6; ++i) {
            const QImage disc = window->findChild<QLabel*>(names[i])->pixmap().toImage();
            QCOMPARE(disc.size(), QSize(36, 36));
            QCOMPARE(disc.pixelColor(18, 18), fills[i]);
            QCOMPARE(disc.pixelColor(0, 0), QColor(192, 192, 192));
        }
        QCOMPARE(window->findChild<QLabel*>("Morvy")->pixmap().size(), QSize(28, 36));
        QCOMPARE(window->findChild<QLabel*>("Image1")->pixmap().size(), QSize(119, 193));
    }

    void fontsAndColoursAsGiven() {
        QCOMPARE(window->frame1()->font().pointSizeF(), 12.0);
        QVERIFY(window->frame1()->font().bold());
        QCOMPARE(window->code_box(0)->font().pointSizeF(), 14.25);
        QCOMPARE(window->cell(5)->font().pointSizeF(), 14.25);
        QCOMPARE(window->findChild<QLabel*>("Label1")->font().pointSizeF(), 9.75);
        QVERIFY(window->findChild<QLabel*>("Label1")->font().bold());
        QCOMPARE(window->score_edit()->font().pointSizeF(), 12.0);
        QVERIFY(QFontInfo(window->code_box(0)->font()).family().contains("Arial") ||
                QFontInfo(window->code_box(0)->font()).family().contains("Liberation Sans"));
        const QColor backgrounds[] = {Qt::white,   {255, 255, 128}, {128, 255, 255}, {0, 0, 255},
                                      {0, 255, 0}, {255, 0, 0},     {255, 128, 0}};
        for (int i = 0; i < kBoxes; ++i) QCOMPARE(window->code_box(i)->palette().color(QPalette::Base), backgrounds[i]);
        QCOMPARE(window->code_box(3)->palette().color(QPalette::Text), QColor(Qt::white));
        QCOMPARE(window->code_box(5)->palette().color(QPalette::Text), QColor(Qt::white));
        QCOMPARE(window->cell(1)->palette().color(QPalette::Button), QColor(192, 192, 192));
    }

    void startsEmptyLockedAndNotPlayable() {
        for (int n = 1; n <= kCells; ++n) {
            QVERIFY(!window->cell(n)->isHidden());
            QCOMPARE(window->cell(n)->cursor().shape(), Qt::ForbiddenCursor);
            QVERIFY(window->cell(n)->icon().isNull());
        }
        for (int i = 0; i < kBoxes; ++i) {
            QVERIFY(window->code_box(i)->isReadOnly());
            QCOMPARE(window->code_box(i)->maxLength(), 2);
            QVERIFY(window->code_box(i)->text().isEmpty());
        }
        QVERIFY(window->spot_box()->isHidden());
        QCOMPARE(window->spot_box()->text(), QStringLiteral("0"));
        QCOMPARE(window->score_edit()->text(), QStringLiteral("0"));
        QVERIFY(window->score_edit()->isReadOnly());
        QVERIFY(window->reseto_button()->isHidden());
        for (int i = 0; i < kBoxes; ++i) QVERIFY(window->figure(i)->isHidden());
    }

    void legalTargetsAreTheRealPointer() {
        window->game().CODE[0].text = "1";
        QTest::mouseClick(window->reset_button(), Qt::LeftButton);
        for (int n = 1; n <= kCells; ++n) {
            const bool target = n == 2 || n == 8 || n == 9;
            QCOMPARE(window->cell(n)->cursor().shape(), target ? Qt::ArrowCursor : Qt::ForbiddenCursor);
        }
    }

    void helpKeyReachesTheGameFromAnyControl() {
        window->code_box(0)->setFocus();
        QTest::keyClick(window->windowHandle(), Qt::Key_F1);
        QCOMPARE(window->help, QStringList{"Morvane.chm"});
    }

    void boardIsShownBehindTheMessage() {
        // Player on 1, only 1 and 2 on the board: the move to 2 wins, and the
        // message box sees the last cell standing, not the next board.
        window->game().CODE[0].text = "1";
        window->game().Reset_button_Click();
        for (int n = 3; n <= kCells; ++n) window->game().Square[n].shown = false;
        window->render();
        QTest::mouseClick(window->cell(2), Qt::LeftButton);
        QCOMPARE(window->messages, QStringList{"You have solved the puzzle!"});
        for (int n = 1; n <= kCells; ++n) QCOMPARE(window->shown_while_message[n - 1], n == 2);
        QVERIFY(window->painted_while_message);
        QCOMPARE(window->score_edit()->text(), QStringLiteral("59"));
    }

    void programFolderBecomesCurrentOnAClick() {
        QTemporaryDir elsewhere;
        QDir::setCurrent(elsewhere.path());
        QTest::mouseClick(window->cell(3), Qt::LeftButton);
        QCOMPARE(QDir::currentPath(), QDir(QCoreApplication::applicationDirPath()).canonicalPath());
        // Every cue finds it current, entered once per action, also when it
        // was left since the last one: a plain move, a move onto orange (its
        // cue), code entry (a cue without a move).
        window->place_code(code_boxes("1,,,,,,3"));
        window->cue_folders.clear();
        for (QPushButton* button : {window->cell(2), window->cell(3), window->cinsert_button()}) {
            QDir::setCurrent(elsewhere.path());
            QTest::mouseClick(button, Qt::LeftButton);
        }
        QCOMPARE(window->cue_folders, QStringList(2, QDir(QCoreApplication::applicationDirPath()).canonicalPath()));
    }

    void hintMarksTheNextCellOfAWinAndChangesNothing() {
        window->game().CODE[0].text = "1";
        window->game().CODE[6].text = "3";  // orange on 3
        QTest::mouseClick(window->reset_button(), Qt::LeftButton);
        window->cues.clear();
        const auto before = snapshot();
        window->reset_button()->setFocus();
        QTest::keyClick(window->windowHandle(), Qt::Key_H);
        QTRY_VERIFY_WITH_TIMEOUT(!window->hint_pending(), kHangGuard);
        QVERIFY(window->hint_mark()->isVisible());
        QVERIFY(!window->hint_note()->isVisible());
        int marked = 0;
        for (int n = 1; n <= kCells; ++n)
            if (window->cell(n)->geometry() == window->hint_mark()->geometry()) marked = n;
        QVERIFY(marked == 2 || marked == 8 || marked == 9);
        QCOMPARE(snapshot(), before);
        QVERIFY(window->cues.isEmpty());
        // The mark takes no click: the cell under it is played.
        QTest::mouseClick(window->windowHandle(), Qt::LeftButton, {}, window->cell(marked)->geometry().center());
        QCOMPARE(window->game().CODE[0].text, std::to_string(marked));
        QVERIFY(!window->hint_mark()->isVisible());  // a move makes the hint stale
    }

    void hintSaysSoWhenNoWinIsLeft() {
        window->game().CODE[0].text = "1";
        QTest::mouseClick(window->reset_button(), Qt::LeftButton);
        for (int n = 3; n <= kCells; ++n) window->game().Square[n].shown = n == 20;
        window->render();
        const auto before = snapshot();
        QTest::keyClick(window->windowHandle(), Qt::Key_H);
        QTRY_VERIFY_WITH_TIMEOUT(!window->hint_pending(), kHangGuard);
        QVERIFY(!window->hint_mark()->isVisible());
        QVERIFY(window->hint_note()->isVisible());
        QVERIFY(window->hint_note()->text().startsWith(QStringLiteral("No way to solve")));
        QCOMPARE(snapshot(), before);
        QVERIFY(window->messages.isEmpty());
        QTRY_VERIFY_WITH_TIMEOUT(!window->hint_note()->isVisible(), 6000);
    }

    // The hint is searched for off the window's thread from the moment a
    // board is in play; a gate holds the search here. H before the answer
    // is ready shows it once it is, and changes nothing.
    void hintShowsWhenReadyAndChangesNothing() {
        const auto gate = hold_hints();
        window->place_code(code_boxes("26,10,17,13,26,24,15"));  // lost, and only a long search proves it
        window->cues.clear();
        const auto before = snapshot();
        QTest::keyClick(window->windowHandle(), Qt::Key_H);
        QTRY_COMPARE_WITH_TIMEOUT(gate->started.load(), 1, kHangGuard);
        QVERIFY(window->hint_pending());
        QVERIFY(!window->hint_note()->isVisible());
        gate->open = true;
        QTRY_VERIFY_WITH_TIMEOUT(window->hint_note()->isVisible(), kHangGuard);
        QVERIFY(window->hint_note()->text().startsWith(QStringLiteral("No way to solve")));
        QCOMPARE(snapshot(), before);
        QVERIFY(window->cues.isEmpty() && window->messages.isEmpty());
    }

    // On a board no click wins any more the hint after a move is known at
    // once: no search starts for it, and H says so straight away.
    void aMoveOnALostBoardNeedsNoSearch() {
        const auto gate = hold_hints();
        gate->open = true;
        window->place_code(code_boxes("28,6,10,24,6,13,8"));  // lost
        QTRY_COMPARE_WITH_TIMEOUT(gate->returned.load(), 1, kHangGuard);
        QTest::keyClick(window->windowHandle(), Qt::Key_H);
        QTRY_VERIFY_WITH_TIMEOUT(window->hint_note()->isVisible(), kHangGuard);
        for (int move = 0; move < 3; ++move) {
            int target = 0;
            for (int n = 1; n <= kCells && !target; ++n)
                if (window->game().Square[n].shown && window->game().Square[n].pointer == kPointerArrow) target = n;
            QVERIFY(target != 0);
            QTest::mouseClick(window->cell(target), Qt::LeftButton);
            QVERIFY(window->messages.isEmpty());
            QTest::keyClick(window->windowHandle(), Qt::Key_H);
            QVERIFY(!window->hint_pending());
            QVERIFY(window->hint_note()->text().startsWith(QStringLiteral("No way to solve")));
        }
        QCOMPARE(gate->started.load(), 1);
    }

    // Along the winning line the answer gave, the next answer is known at
    // once: moves onto the marked cells start no search, and H marks the
    // line's next cell straight away. A move off the line searches again.
    void aMoveAlongTheHintsLineNeedsNoSearch() {
        const auto gate = hold_hints();
        gate->open = true;
        window->place_code(code_boxes("1,,,,,,3"));  // won by 2 3 4 5 6 7 14 ...
        QTRY_COMPARE_WITH_TIMEOUT(gate->returned.load(), 1, kHangGuard);
        for (const int next : {2, 3, 4, 5}) {
            QTest::keyClick(window->windowHandle(), Qt::Key_H);
            QTRY_VERIFY_WITH_TIMEOUT(window->hint_mark()->isVisible(), kHangGuard);
            QCOMPARE(window->hint_mark()->geometry(), window->cell(next)->geometry());
            if (next < 5) QTest::mouseClick(window->cell(next), Qt::LeftButton);
        }
        QCOMPARE(gate->started.load(), 1);
        QTest::mouseClick(window->cell(12), Qt::LeftButton);  // below-right of 4, off the line
        QTRY_COMPARE_WITH_TIMEOUT(gate->started.load(), 2, kHangGuard);
    }

    // A move cancels the search under way; an answer for the board before
    // is never shown on the new one (the gated search answers cell 28 for
    // the first board, 27 for the second). Closing the window during a
    // search returns.
    void aMoveOrClosingMakesTheHintUnderWayStale() {
        const auto gate = hold_hints({28, 27});
        window->game().CODE[0].text = "1";
        window->game().CODE[6].text = "3";  // orange on 3
        QTest::mouseClick(window->reset_button(), Qt::LeftButton);
        QTest::keyClick(window->windowHandle(), Qt::Key_H);
        QTRY_COMPARE_WITH_TIMEOUT(gate->started.load(), 1, kHangGuard);
        QTest::mouseClick(window->cell(2), Qt::LeftButton);
        QVERIFY(!window->hint_pending());                                 // the move makes H stale too
        QTRY_COMPARE_WITH_TIMEOUT(gate->returned.load(), 1, kHangGuard);  // cancelled, gate shut
        QTest::qWait(100);                                                // an answer on its way would arrive
        QTest::keyClick(window->windowHandle(), Qt::Key_H);
        QVERIFY(window->hint_pending() && !window->hint_mark()->isVisible());
        gate->open = true;
        QTRY_VERIFY_WITH_TIMEOUT(window->hint_mark()->isVisible(), kHangGuard);
        QCOMPARE(window->hint_mark()->geometry(), window->cell(27)->geometry());
        gate->open = false;
        QTest::mouseClick(window->cell(9), Qt::LeftButton);
        QCOMPARE(window->game().CODE[0].text, std::string("9"));
        QTRY_COMPARE_WITH_TIMEOUT(gate->started.load(), 3, kHangGuard);
        window->close();
        window.reset();
        QCOMPARE(gate->returned.load(), 3);
    }

    void hintWaitsForABoardInPlay() {
        QTest::keyClick(window->windowHandle(), Qt::Key_H);
        QVERIFY(window->hint_note()->isVisible());
        QTest::mouseClick(window->cinsert_button(), Qt::LeftButton);
        QVERIFY(!window->hint_note()->isVisible());
        // In code entry the first box has the focus, and H is typed there.
        QTest::keyClick(window->windowHandle(), Qt::Key_H);
        QCOMPARE(window->game().CODE[0].text, std::string("h"));
        QVERIFY(!window->hint_note()->isVisible());
        // "h" is no cell: the code is refused and no board is in play. The
        // locked box keeps the focus and lets the key through.
        QTest::mouseClick(window->cinsert_button(), Qt::LeftButton);
        QCOMPARE(window->messages.size(), 1);
        window->code_box(0)->setFocus();
        QTest::keyClick(window->windowHandle(), Qt::Key_H);
        QVERIFY(window->hint_note()->isVisible());
        QVERIFY(window->hint_note()->text().startsWith(QStringLiteral("Deal")));
        QVERIFY(!window->hint_mark()->isVisible());
        // Until a board is in play no search has run: its thread and the
        // solver's tables (megabytes) do not weigh on start-up.
        QVERIFY(!window->hint_started());
        QVERIFY(window->randomizer_button()->isVisible());
        QTest::mouseClick(window->randomizer_button(), Qt::LeftButton);
        QVERIFY(window->hint_started());
    }

    // A click repaints the cells it changes, not the board or the cells the
    // clicked one overlaps: a press paints the pressed cell once, and the
    // release about once per changed cell (a cell taken off the board shows
    // the white board and the edges of the cells it covered).
    void clickRepaintsWhatChanged_data() {
        QTest::addColumn<QString>("code");  // player, then orange
        QTest::addColumn<int>("clicked");
        QTest::newRow("refused") << "1 27" << 20;
        QTest::newRow("a move") << "1 27" << 9;
        QTest::newRow("onto orange") << "1 2" << 2;  // takes rows above and below
        QTest::newRow("lost") << "8 15" << 15;       // strands the player: the board comes back
    }
    void clickRepaintsWhatChanged() {
        QFETCH(QString, code);
        QFETCH(int, clicked);
        window->game().CODE[0].text = code.section(' ', 0, 0).toStdString();
        window->game().CODE[6].text = code.section(' ', 1, 1).toStdString();
        QTest::mouseClick(window->reset_button(), Qt::LeftButton);
        QPushButton* cell = window->cell(clicked);
        const QPoint centre = cell->mapTo(window.get(), cell->rect().center());
        cell->setFocus();  // the focus moving away repaints whatever had it
        QTest::mouseMove(window->windowHandle(), centre);
        QCoreApplication::processEvents();
        const auto before = looks();

        PaintCounter counter;
        qApp->installEventFilter(&counter);
        QTest::mousePress(window->windowHandle(), Qt::LeftButton, {}, centre);
        QCoreApplication::processEvents();
        QCOMPARE(counter.paints, (QMap<QString, int>{{cell->objectName(), 1}}));
        counter.paints.clear();
        QTest::mouseRelease(window->windowHandle(), Qt::LeftButton, {}, centre);
        QCoreApplication::processEvents();
        qApp->removeEventFilter(&counter);

        const auto after = looks();
        int changed = 0, removed = 0;
        for (int n = 1; n <= kCells; ++n) {
            if (before[n] == after[n]) continue;
            if (after[n].isEmpty())
                ++removed;
            else
                ++changed;
        }
        QCOMPARE(counter.layout_requests, 0);
        QVERIFY2(counter.total() <= 1 + changed + 9 * removed + 2,
                 qPrintable(QStringLiteral("%1 paints for %2 changed and %3 removed cells: %4")
                                .arg(counter.total())
                                .arg(changed)
                                .arg(removed)
                                .arg(QStringList(counter.paints.keys()).join(' '))));
    }

    // The game's own window, whose cues go to its cue player: the first
    // frame never waits for the sound server or the cues, which open just
    // after it, and a click that comes even before it still plays its cue.
    void cuesOpenJustAfterTheFirstFrame() {
        GameWindow plain(QCoreApplication::applicationDirPath());
        plain.show();
        QVERIFY(!plain.cue_player().is_open());
        QVERIFY(QTest::qWaitForWindowExposed(&plain));
        QTRY_VERIFY(plain.cue_player().is_open());
    }
    void aClickBeforeTheFirstFramePlaysItsCue() {
        GameWindow plain(QCoreApplication::applicationDirPath());
        plain.show();
        QTest::mouseClick(plain.cell(3), Qt::LeftButton);  // no board yet: refused, "no.wav"
        QVERIFY(plain.cue_player().is_open());
        // Where there is sound, the cue is loaded (and playing).
        if (plain.cue_player().holds(QStringLiteral("move.wav"))) QVERIFY(plain.cue_player().holds("no.wav"));
        // Once the window has closed, cues stay shut.
        plain.close();
        plain.play_cue("no.wav");
        QVERIFY(!plain.cue_player().is_open());
    }

private:
    // What each cell shows: empty when it is off the board.
    QStringList looks() const {
        QStringList shown;
        for (int n = 0; n <= kCells; ++n) {
            const QPushButton* cell = window->cell(n);
            shown << (cell->isHidden() ? QString()
                                       : QStringLiteral("%1 %2").arg(cell->icon().cacheKey()).arg(cell->text()));
        }
        return shown;
    }

    // Everything the game keeps, to check that a hint leaves it alone.
    // A hint search held shut until `open` (or its cancel); it answers
    // with the real search, or with a click on `cells[i]` for the i-th search.
    struct Gate {
        std::atomic<bool> open{false};
        std::atomic<int> started{0}, returned{0};
        std::vector<int> cells;
    };
    std::shared_ptr<Gate> hold_hints(std::vector<int> cells = {}) {
        auto gate = std::make_shared<Gate>();
        gate->cells = std::move(cells);
        window->set_hint_search([gate](const solver::Position& position, const std::atomic<bool>& cancel) {
            const int search = gate->started++;
            while (!gate->open && !cancel) std::this_thread::sleep_for(std::chrono::milliseconds(1));
            solver::Hint hint{solver::Hint::Verdict::Click, 0};
            if (search < static_cast<int>(gate->cells.size()))
                hint.cell = gate->cells[search];
            else
                hint = HintWorker::full_search(position, cancel);
            ++gate->returned;
            return hint;
        });
        return gate;
    }

    QStringList snapshot() const {
        QStringList state;
        const Morvane1& game = window->game();
        for (const Cell& cell : game.Square)
            state << QStringLiteral("%1 %2 %3 %4")
                         .arg(cell.shown)
                         .arg(static_cast<int>(cell.picture))
                         .arg(QString::fromStdString(cell.caption))
                         .arg(cell.pointer);
        for (const TextBox& box : game.CODE) state << QString::fromStdString(box.text);
        state << QString::fromStdString(game.spot.text) << QString::number(game.morvymod.moves_left)
              << QString::number(game.morvymod.score) << QString::number(game.morvymod.cell_count);
        return state;
    }

    std::unique_ptr<TestWindow> window;
};

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    prepare_environment();
    QApplication app(argc, argv);
    prepare_application(app);
    WindowTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "window_test.moc"
