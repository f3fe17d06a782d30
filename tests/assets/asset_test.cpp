// Checks the made files the game ships: the WAV cues as copied into the
// program's folder, and the pictures as compiled in from morvane.qrc.

#include <gtest/gtest.h>

#include <QColor>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QSet>
#include <QtEndian>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <optional>
#include <vector>

namespace {

// --- the cues ----------------------------------------------------------------

struct Wave {
    int format = 0, channels = 0, rate = 0, bits = 0;
    std::vector<qint16> samples;  // all channels interleaved
};

// Reads a RIFF WAVE file's format and, for 16-bit PCM, its samples.
std::optional<Wave> readWave(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return std::nullopt;
    const QByteArray b = f.readAll();
    if (b.size() < 12 || !b.startsWith("RIFF") || b.mid(8, 4) != "WAVE") return std::nullopt;
    Wave w;
    bool haveData = false;
    for (qsizetype at = 12; at + 8 <= b.size();) {
        const QByteArray id = b.mid(at, 4);
        const qsizetype size = qFromLittleEndian<quint32>(b.constData() + at + 4);
        const char* body = b.constData() + at + 8;
        if (at + 8 + size > b.size()) return std::nullopt;
        if (id == "fmt " && size >= 16) {
            w.format = qFromLittleEndian<quint16>(body);
            w.channels = qFromLittleEndian<quint16>(body + 2);
            w.rate = int(qFromLittleEndian<quint32>(body + 4));
            w.bits = qFromLittleEndian<quint16>(body + 14);
        } else if (id == "data" && w.bits == 16) {
            for (qsizetype i = 0; i + 1 < size; i += 2) w.samples.push_back(qFromLittleEndian<qint16>(body + i));
            haveData = true;
        }
        at += 8 + size + (size & 1);
    }
    if (!haveData) return std::nullopt;
    return w;
}

class Cue : public ::testing::TestWithParam<const char*> {};

TEST_P(Cue, IsAShortSixteenBitClipEndingInSilence) {
    const auto w = readWave(QDir(MORVANE_PROGRAM_FOLDER).filePath(GetParam()));
    ASSERT_TRUE(w) << "missing or not a 16-bit WAV file";
    EXPECT_EQ(w->format, 1) << "PCM";
    EXPECT_EQ(w->bits, 16);
    ASSERT_GE(w->channels, 1);
    ASSERT_GT(w->rate, 0);

    const double frames = double(w->samples.size()) / w->channels;
    auto loud = [](qint16 s) { return std::abs(int(s)) > 32; };  // above -60 dB
    const auto first = std::find_if(w->samples.begin(), w->samples.end(), loud);
    const auto last = std::find_if(w->samples.rbegin(), w->samples.rend(), loud);
    ASSERT_NE(first, w->samples.end()) << "no sound at all";
    const double start = double(first - w->samples.begin()) / w->channels / w->rate;
    const double end = (frames - double(last - w->samples.rbegin()) / w->channels) / w->rate;

    // Qt's sound effects drop the last moment of a clip: it must be silent.
    EXPECT_GE(frames / w->rate - end, 0.25) << "silence at the end, in seconds";
    EXPECT_LE(start, 0.05) << "a cue starts at once";
    EXPECT_GE(end - start, 0.05) << "long enough to be heard";
    EXPECT_LE(end - start, 0.8) << "well under a second of sound";
    const int peak = std::abs(int(*std::max_element(
        w->samples.begin(), w->samples.end(), [](qint16 a, qint16 b) { return std::abs(int(a)) < std::abs(int(b)); })));
    EXPECT_GE(peak, 8000) << "loud enough";
    EXPECT_LT(peak, 32767) << "not clipped";
}

INSTANTIATE_TEST_SUITE_P(GameCues, Cue,
                         ::testing::Values("move.wav", "no.wav", "won.wav", "lose.wav", "Yellow.wav", "red.wav",
                                           "blue.wav", "green.wav"),
                         [](const auto& info) { return QString(info.param).section('.', 0, 0).toStdString(); });

// --- the pictures ------------------------------------------------------------

const QColor kGrey(192, 192, 192);
const QColor kWhite(255, 255, 255);

struct Piece {
    const char* name;
    QColor fill;
};
const Piece kPieces[] = {
    {"YEL", QColor(255, 255, 128)}, {"BLU", QColor(0, 255, 255)}, {"NAV", QColor(64, 0, 255)},
    {"GRE", QColor(0, 255, 0)},     {"RED", QColor(255, 0, 0)},   {"ORA", QColor(255, 128, 64)},
};

// Every picture comes for screens of one, two and three times the density
// (NAME.png, NAME@2x.png, NAME@3x.png), all from the same drawing.
class Pictures : public ::testing::TestWithParam<int> {
protected:
    int scale() const { return GetParam(); }
    QImage picture(const QString& name) const {
        const QString suffix = scale() == 1 ? QString() : QStringLiteral("@%1x").arg(scale());
        return QImage(":/pictures/" + name + suffix + ".png");
    }
};

TEST_P(Pictures, HaveTheirSizes) {
    struct Case {
        const char* name;
        int w, h;
    };
    for (const Case& c :
         {Case{"Morvy", 28, 36}, Case{"YEL", 36, 36}, Case{"BLU", 36, 36}, Case{"NAV", 36, 36}, Case{"GRE", 36, 36},
          Case{"RED", 36, 36}, Case{"ORA", 36, 36}, Case{"legend", 119, 193}, Case{"icon", 32, 32}}) {
        const QImage image = picture(c.name);
        ASSERT_FALSE(image.isNull()) << c.name << " is not in the resources";
        EXPECT_EQ(image.size(), QSize(c.w, c.h) * scale()) << c.name;
    }
}

TEST_P(Pictures, DiscsAreFilledCirclesWithABlackOutlineOnGrey) {
    for (const Piece& p : kPieces) {
        SCOPED_TRACE(p.name);
        const QImage image = picture(p.name);
        const int size = 36 * scale(), last = size - 1, middle = size / 2;
        ASSERT_EQ(image.size(), QSize(size, size));
        EXPECT_FALSE(image.hasAlphaChannel());
        EXPECT_EQ(image.pixelColor(middle, middle), p.fill);
        for (QPoint corner : {QPoint(0, 0), QPoint(last, 0), QPoint(0, last), QPoint(last, last)})
            EXPECT_EQ(image.pixelColor(corner), kGrey);
        // From the middle to each edge: fill, then black, then grey.
        for (QPoint step : {QPoint(1, 0), QPoint(-1, 0), QPoint(0, 1), QPoint(0, -1)}) {
            bool black = false;
            for (QPoint at(middle, middle); image.rect().contains(at); at += step)
                black = black || image.pixelColor(at) == Qt::black;
            EXPECT_TRUE(black) << "outline towards " << step.x() << "," << step.y();
        }
    }
}

TEST_P(Pictures, IconIsTheFigureInSixteenColours) {
    const QImage image = picture("icon");
    QSet<QRgb> colours;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) colours.insert(image.pixel(x, y));
    EXPECT_LE(colours.size(), 16);
    EXPECT_EQ(qAlpha(image.pixel(0, 0)), 0) << "see-through ground";
}

// The legend: six 3 by 3 grids in three rows of two. Each grid's centre has
// the piece's colour, and the neighbours that piece takes off are marked
// white. Marks per grid, rows top to bottom as strings of '#' (marked) and
// '.', the centre written 'o'.
struct LegendGrid {
    const char* piece;
    int column, row;
    const char* marks[3];
};
// clang-format off
const LegendGrid kLegend[] = {
    {"YEL", 0, 0, {"###", ".o.", "..."}},
    {"GRE", 1, 0, {"#..", "#o.", "#.."}},
    {"BLU", 0, 1, {"..#", ".o#", "..#"}},
    {"RED", 1, 1, {"...", ".o.", "###"}},
    {"NAV", 0, 2, {"#.#", "#o#", "#.#"}},
    {"ORA", 1, 2, {"###", ".o.", "###"}},
};
// clang-format on

// Finds the grids' cell centres: the image is cut into its two columns and
// three rows of grids by the rows and columns of pure ground.
TEST_P(Pictures, LegendShowsWhatEachColourTakesOff) {
    const QImage image = picture("legend");
    ASSERT_EQ(image.size(), QSize(119, 193) * scale());
    auto groundColumn = [&](int x) {
        for (int y = 0; y < image.height(); ++y)
            if (image.pixelColor(x, y) != kGrey) return false;
        return true;
    };
    auto groundRow = [&](int y) {
        for (int x = 0; x < image.width(); ++x)
            if (image.pixelColor(x, y) != kGrey) return false;
        return true;
    };
    // Spans of non-ground columns and rows: each is one column or row of grids.
    auto spans = [](int n, auto ground) {
        std::vector<std::pair<int, int>> out;
        for (int i = 0; i < n; ++i) {
            if (ground(i)) continue;
            if (out.empty() || out.back().second != i - 1)
                out.push_back({i, i});
            else
                out.back().second = i;
        }
        return out;
    };
    const auto columns = spans(image.width(), groundColumn);
    const auto rows = spans(image.height(), groundRow);
    ASSERT_EQ(columns.size(), 2u);
    ASSERT_EQ(rows.size(), 3u);

    for (const LegendGrid& g : kLegend) {
        SCOPED_TRACE(g.piece);
        const auto [x0, x1] = columns[g.column];
        const auto [y0, y1] = rows[g.row];
        const QColor fill = std::find_if(std::begin(kPieces), std::end(kPieces), [&](const Piece& p) {
                                return qstrcmp(p.name, g.piece) == 0;
                            })->fill;
        for (int r = 0; r < 3; ++r) {
            for (int c = 0; c < 3; ++c) {
                const int x = x0 + (x1 - x0 + 1) * (2 * c + 1) / 6;
                const int y = y0 + (y1 - y0 + 1) * (2 * r + 1) / 6;
                const QColor at = image.pixelColor(x, y);
                const char want = g.marks[r][c];
                if (want == 'o')
                    EXPECT_EQ(at, fill) << "centre";
                else
                    EXPECT_EQ(at == kWhite, want == '#') << "cell row " << r << " column " << c;
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Densities, Pictures, ::testing::Values(1, 2, 3),
                         [](const auto& info) { return "x" + std::to_string(info.param); });

}  // namespace
