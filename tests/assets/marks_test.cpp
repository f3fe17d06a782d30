// The pieces' marks: the committed pictures with marks tell the six pieces
// apart in grey and to eyes that lack one kind of cone (protanopia,
// deuteranopia, tritanopia, simulated after Machado, Oliveira and Fernandes
// 2009), where the plain discs do not.

#include <gtest/gtest.h>

#include <QColor>
#include <QImage>
#include <array>
#include <cmath>
#include <functional>
#include <string>

namespace {

const char* const kPieces[] = {"YEL", "BLU", "NAV", "GRE", "RED", "ORA"};
const char* const kDensities[] = {"", "@2x", "@3x"};

QImage picture(const std::string& name, const char* density) {
    return QImage(QStringLiteral(":/pictures/%1%2.png").arg(QString::fromStdString(name), QLatin1String(density)))
        .convertToFormat(QImage::Format_RGB32);
}

double to_linear(double v) { return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); }
double to_srgb(double v) {
    v = std::clamp(v, 0.0, 1.0);
    return 255 * (v <= 0.0031308 ? 12.92 * v : 1.055 * std::pow(v, 1 / 2.4) - 0.055);
}

using Colour = std::array<double, 3>;  // sRGB, 0 to 255
using Matrix = std::array<std::array<double, 3>, 3>;

// What a colour looks like to an eye, in sRGB.
Colour seen(const Matrix& eye, QRgb rgb) {
    const Colour in{to_linear(qRed(rgb) / 255.0), to_linear(qGreen(rgb) / 255.0), to_linear(qBlue(rgb) / 255.0)};
    Colour out{};
    for (int i = 0; i < 3; ++i) out[i] = to_srgb(eye[i][0] * in[0] + eye[i][1] * in[1] + eye[i][2] * in[2]);
    return out;
}

struct View {
    const char* name;
    Matrix eye;
};
const View kViews[] = {
    {"grey", {{{0.2126, 0.7152, 0.0722}, {0.2126, 0.7152, 0.0722}, {0.2126, 0.7152, 0.0722}}}},
    {"protanopia",
     {{{0.152286, 1.052583, -0.204868}, {0.114503, 0.786281, 0.099216}, {-0.003882, -0.048116, 1.051998}}}},
    {"deuteranopia",
     {{{0.367322, 0.860646, -0.227968}, {0.280085, 0.672501, 0.047413}, {-0.011820, 0.042940, 0.968881}}}},
    {"tritanopia",
     {{{1.255528, -0.076749, -0.178779}, {-0.078411, 0.930809, 0.147602}, {0.004733, 0.691367, 0.303900}}}},
};

// The share of two pictures' pixels that look plainly different to `eye`:
// farther apart than a fifth of the way from black to white.
double apart(const Matrix& eye, const QImage& a, const QImage& b) {
    int differ = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const Colour p = seen(eye, a.pixel(x, y)), q = seen(eye, b.pixel(x, y));
            const double d = std::hypot(p[0] - q[0], p[1] - q[1], p[2] - q[2]);
            differ += d > 51;
        }
    return double(differ) / (a.width() * a.height());
}

// Two pieces are told apart when at least this share of their pixels differs.
constexpr double kToldApart = 0.02;

TEST(PieceMarks, TellTheSixPiecesApartForEveryEye) {
    for (const char* density : kDensities) {
        int plain_alike = 0;
        for (const View& view : kViews)
            for (int i = 0; i < 6; ++i)
                for (int j = i + 1; j < 6; ++j) {
                    const std::string a = kPieces[i], b = kPieces[j];
                    const double marked =
                        apart(view.eye, picture(a + "-marks", density), picture(b + "-marks", density));
                    EXPECT_GE(marked, kToldApart) << a << " and " << b << density << " with marks, " << view.name;
                    plain_alike += apart(view.eye, picture(a, density), picture(b, density)) < kToldApart;
                }
        // Without the marks some pairs look alike: in grey the light yellow,
        // blue and green discs, to a tritanope blue and green.
        EXPECT_GE(plain_alike, 3) << density;
    }
}

}  // namespace
