// SPDX-FileCopyrightText: 2026 The Kelvane developers
// SPDX-License-Identifier: MIT

// Draws every picture Kelvane shows, each at 1x and at 2x device pixels, and the icon theme
// PNGs for installing. Run it through tools/make-pictures.sh.
//
//   make_pictures SOURCE_DIR
//
// writes SOURCE_DIR/src/drawing/pictures/*.png and pictures.qrc, and
// SOURCE_DIR/data/icons/hicolor/NxN/apps/kelvane.png, rendered from
// SOURCE_DIR/data/icons/kelvane.svg.

#include <QByteArray>
#include <QColor>
#include <QDir>
#include <QFont>
#include <QFontInfo>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QRect>
#include <QSaveFile>
#include <QStringList>
#include <QSvgRenderer>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <vector>

namespace {

[[noreturn]] void Fail(const QString& message) {
    std::fprintf(stderr, "make_pictures: %s\n", qPrintable(message));
    std::exit(1);
}

constexpr std::array kScales = {1, 2};

// ---------------------------------------------------------------------------------------------
// Drawing in picture pixels. Every coordinate below is a 1x pixel; `k` is the device pixels per
// picture pixel, so each picture is drawn afresh at its own resolution.

void Box(QPainter& p, int k, int x, int y, int w, int h, const QColor& colour) {
    p.fillRect(x * k, y * k, w * k, h * k, colour);
}

// Fills a shape given in picture pixels, without smoothing: a device pixel is ink when its
// centre lies inside, so edges stay hard and every scale gets its own finer outline.
void FillSharp(QPainter& p, int k, const QPainterPath& shape, const QColor& colour) {
    const QRect area = shape.boundingRect().toAlignedRect();
    // Nudged off the centre a hair, so that edges passing exactly through centres fall the
    // same way everywhere.
    constexpr double kNudge = 1e-4;
    for (int y = area.top() * k; y <= area.bottom() * k + k - 1; ++y) {
        for (int x = area.left() * k; x <= area.right() * k + k - 1; ++x) {
            const QPointF centre((x + 0.5) / k + kNudge, (y + 0.5) / k + 2 * kNudge);
            if (shape.contains(centre)) {
                p.fillRect(x, y, 1, 1, colour);
            }
        }
    }
}

// A straight stroke from `a` to `b` whose rows are `width` pixels wide.
QPainterPath Slant(QPointF a, QPointF b, double width) {
    QPainterPath path;
    path.addPolygon(
        QPolygonF({a, QPointF(a.x() + width, a.y()), QPointF(b.x() + width, b.y()), b}));
    path.closeSubpath();
    return path;
}

// ---------------------------------------------------------------------------------------------
// LED segments.

constexpr int kSegments = 27;
constexpr int kRowWidth = 136;
constexpr int kRowHeight = 12;
// An unlit segment keeps this share of its lit colour: dark enough to read as off against
// the black ground, light enough to keep its hue.
constexpr double kUnlit = 0.32;

// Segment n (1..27) of the green-to-red scale; red-to-green runs it backwards.
QColor SegmentColour(bool greenToRed, int n) {
    if (!greenToRed) {
        n = kSegments + 1 - n;
    }
    if (n <= 13) {
        return QColor(20 * (n - 1), 255, 0);
    }
    if (n == 14) {
        return QColor(255, 255, 0);
    }
    return QColor(255, 20 * (kSegments - n), 0);
}

QColor Unlit(const QColor& lit) {
    return QColor(qRound(lit.red() * kUnlit), qRound(lit.green() * kUnlit),
                  qRound(lit.blue() * kUnlit));
}

// Black ground with a 4x10 cell per segment every 5 pixels, one pixel in from the top: the
// lit segments (6x12 with a one-pixel black border) land exactly on these cells.
void DrawSegmentRow(QPainter& p, int k, bool greenToRed, bool lit) {
    Box(p, k, 0, 0, kRowWidth, kRowHeight, Qt::black);
    for (int n = 1; n <= kSegments; ++n) {
        const QColor colour = SegmentColour(greenToRed, n);
        Box(p, k, 1 + 5 * (n - 1), 1, 4, 10, lit ? colour : Unlit(colour));
    }
}

// ---------------------------------------------------------------------------------------------
// Panel titles: the segment row over a white caption box. The panel's number label is laid
// over the box from `numberLeft` on, so the caption has to stop two pixels short of it.

constexpr int kTitleHeight = 27;
constexpr int kBoxTop = 12;
constexpr int kBoxBottom = 26;  // the black rule under the box
constexpr int kCaptionLeft = 3;
constexpr int kCaptionBaseline = 20;
constexpr int kCaptionPixelSize = 9;
constexpr int kSmallestCaptionPixelSize = 8;
constexpr int kClearance = 2;

struct Title {
    const char* name;
    const char* caption;
    bool greenToRed;
    bool lit;
    int numberLeft;
};

constexpr std::array kTitles = {
    Title{"imgURP", "Used Ram Percent:", true, false, 93},
    Title{"imgURK", "Used Ram KB:", true, false, 72},
    Title{"imgURM", "Used Ram MB:", true, false, 74},
    Title{"imgFRP", "Free Ram Percent:", false, false, 93},
    Title{"imgFRK", "Free Ram KB:", false, false, 72},
    Title{"imgFRM", "Free Ram MB:", false, false, 74},
    Title{"imgTRK", "Total Ram KB:", true, true, 74},
    Title{"imgUD", "Used Drive", true, false, 57},
};

QFont CaptionFont(int pixelSize) {
    QFont font(QStringLiteral("DejaVu Serif"));
    font.setStyleHint(QFont::Serif);
    font.setPixelSize(pixelSize);
    font.setHintingPreference(QFont::PreferFullHinting);
    if (QFontInfo(font).family() != QStringLiteral("DejaVu Serif")) {
        Fail(QStringLiteral("captions need the DejaVu Serif font (Debian: fonts-dejavu-core), "
                            "got %1")
                 .arg(QFontInfo(font).family()));
    }
    return font;
}

void DrawCaptionText(QPainter& p, int k, const QString& caption, int pixelSize) {
    p.save();
    p.setRenderHint(QPainter::TextAntialiasing, true);
    p.setFont(CaptionFont(pixelSize * k));
    p.setPen(Qt::black);
    p.drawText(QPoint(kCaptionLeft * k, kCaptionBaseline * k), caption);
    p.restore();
}

// The smallest rectangle holding every pixel that is not white.
QRect InkBounds(const QImage& image) {
    QRect ink;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixel(x, y) != qRgb(255, 255, 255)) {
                ink |= QRect(x, y, 1, 1);
            }
        }
    }
    return ink;
}

// Where the caption's ink falls, in device pixels, when drawn alone at scale `k`.
QRect CaptionInk(const Title& title, int k, int pixelSize) {
    QImage scratch(kRowWidth * k, kTitleHeight * k, QImage::Format_RGB32);
    scratch.fill(Qt::white);
    QPainter p(&scratch);
    DrawCaptionText(p, k, QString::fromLatin1(title.caption), pixelSize);
    p.end();
    return InkBounds(scratch);
}

bool CaptionFits(const Title& title, int pixelSize) {
    for (int k : kScales) {
        const QRect ink = CaptionInk(title, k, pixelSize);
        // Inside the white box, clear of its black left edge and of the number.
        const QRect room(k, kBoxTop * k, (title.numberLeft - kClearance - 1) * k,
                         (kBoxBottom - kBoxTop) * k);
        if (ink.isEmpty() || !room.contains(ink)) {
            return false;
        }
    }
    return true;
}

// The largest caption size, up to the usual one, that fits at every scale.
int CaptionPixelSize(const Title& title) {
    for (int size = kCaptionPixelSize; size >= kSmallestCaptionPixelSize; --size) {
        if (CaptionFits(title, size)) {
            if (size != kCaptionPixelSize) {
                std::fprintf(stderr, "make_pictures: note: %s caption set at %d px to fit\n",
                             title.name, size);
            }
            return size;
        }
    }
    const QRect ink = CaptionInk(title, 1, kSmallestCaptionPixelSize);
    Fail(QStringLiteral("caption \"%1\" of %2 does not fit: even at %3 px it ends at x=%4, "
                        "the number starts at x=%5 and needs %6 px of clearance")
             .arg(QString::fromLatin1(title.caption), QString::fromLatin1(title.name))
             .arg(kSmallestCaptionPixelSize)
             .arg(ink.right())
             .arg(title.numberLeft)
             .arg(kClearance));
}

void DrawTitle(QPainter& p, int k, const Title& title, int pixelSize) {
    DrawSegmentRow(p, k, title.greenToRed, title.lit);
    Box(p, k, 0, kBoxTop, kRowWidth, kBoxBottom - kBoxTop, Qt::white);
    Box(p, k, 0, kBoxTop, 1, kBoxBottom - kBoxTop, Qt::black);
    Box(p, k, kRowWidth - 1, kBoxTop, 1, kBoxBottom - kBoxTop, Qt::black);
    Box(p, k, 0, kBoxBottom, kRowWidth, 1, Qt::black);
    DrawCaptionText(p, k, QString::fromLatin1(title.caption), pixelSize);
}

// ---------------------------------------------------------------------------------------------
// The product name in blocky capitals, 7x9 with two-pixel stems.

constexpr int kGlyphWidth = 7;
constexpr int kGlyphHeight = 9;
using Glyph = std::array<const char*, kGlyphHeight>;

const Glyph* GlyphFor(char letter) {
    static constexpr Glyph kA = {"..###..", ".##.##.", "##...##", "##...##", "##...##",
                                 "#######", "##...##", "##...##", "##...##"};
    static constexpr Glyph kE = {"#######", "##.....", "##.....", "##.....", "######.",
                                 "##.....", "##.....", "##.....", "#######"};
    static constexpr Glyph kK = {"##...##", "##..##.", "##.##..", "####...", "###....",
                                 "####...", "##.##..", "##..##.", "##...##"};
    static constexpr Glyph kL = {"##.....", "##.....", "##.....", "##.....", "##.....",
                                 "##.....", "##.....", "##.....", "#######"};
    static constexpr Glyph kN = {"##...##", "###..##", "###..##", "####.##", "##.####",
                                 "##..###", "##..###", "##...##", "##...##"};
    static constexpr Glyph kV = {"##...##", "##...##", "##...##", "##...##", "##...##",
                                 ".##.##.", ".##.##.", "..###..", "...#..."};
    switch (letter) {
        case 'A':
            return &kA;
        case 'E':
            return &kE;
        case 'K':
            return &kK;
        case 'L':
            return &kL;
        case 'N':
            return &kN;
        case 'V':
            return &kV;
        default:
            return nullptr;
    }
}

constexpr const char* kProductName = "KELVANE";
constexpr int kNameLeft = 7;
constexpr int kNameTop = 4;
constexpr int kNameVisibleWidth = 68;  // the arrow labels cover the rest
const QColor kNameColour(0, 88, 24);

// The name as a grid of 1x pixels.
std::vector<std::vector<bool>> NameBitmap(int width, int height) {
    std::vector<std::vector<bool>> ink(height, std::vector<bool>(width, false));
    int x = kNameLeft;
    for (const char* c = kProductName; *c != '\0'; ++c) {
        const Glyph* glyph = GlyphFor(*c);
        if (glyph == nullptr) {
            Fail(QStringLiteral("no blocky glyph for '%1'").arg(QLatin1Char(*c)));
        }
        for (int row = 0; row < kGlyphHeight; ++row) {
            for (int col = 0; col < kGlyphWidth; ++col) {
                ink[kNameTop + row][x + col] = (*glyph)[row][col] == '#';
            }
        }
        x += kGlyphWidth + 1;
    }
    if (x - 2 >= kNameVisibleWidth) {
        Fail(QStringLiteral("the product name runs to x=%1, past the visible %2 px")
                 .arg(x - 2)
                 .arg(kNameVisibleWidth));
    }
    return ink;
}

// At 1x each glyph pixel is one device pixel. At 2x the diagonal steps get their in-between
// pixels (the EPX rule), so slants come out finer instead of as doubled stairs.
void DrawName(QPainter& p, int k) {
    constexpr int kWidth = 114;
    constexpr int kHeight = 16;
    const auto ink = NameBitmap(kWidth, kHeight);
    const auto at = [&ink](int x, int y) {
        return x >= 0 && y >= 0 && x < kWidth && y < kHeight && ink[y][x];
    };
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            const bool self = at(x, y);
            if (k == 1) {
                if (self) {
                    Box(p, 1, x, y, 1, 1, kNameColour);
                }
                continue;
            }
            const bool up = at(x, y - 1);
            const bool down = at(x, y + 1);
            const bool left = at(x - 1, y);
            const bool right = at(x + 1, y);
            const std::array<bool, 4> quarters = {
                left == up && left != down && up != right ? up : self,
                up == right && up != left && right != down ? right : self,
                down == left && down != right && left != up ? left : self,
                right == down && right != up && down != left ? down : self,
            };
            for (int q = 0; q < 4; ++q) {
                if (quarters[q]) {
                    p.fillRect(x * k + (q % 2) * k / 2, y * k + (q / 2) * k / 2, k / 2, k / 2,
                               kNameColour);
                }
            }
        }
    }
}

// ---------------------------------------------------------------------------------------------
// Title-bar buttons on a white face. Raised: a grey shade along the bottom and right. Pressed:
// the shade moves to the top and left, and the symbol drops one pixel down and right.

const QColor kShade(150, 150, 150);

void DrawButtonFace(QPainter& p, int k, int w, int h, bool pressed) {
    Box(p, k, 0, 0, w, h, Qt::white);
    if (pressed) {
        Box(p, k, 0, 0, w, 1, kShade);
        Box(p, k, 0, 0, 1, h, kShade);
    } else {
        Box(p, k, 0, h - 1, w, 1, kShade);
        Box(p, k, w - 1, 0, 1, h, kShade);
    }
}

void DrawClose(QPainter& p, int k, bool pressed) {
    DrawButtonFace(p, k, 12, 13, pressed);
    const double d = pressed ? 1 : 0;
    const QPainterPath cross = Slant(QPointF(2 + d, 3 + d), QPointF(8 + d, 10 + d), 2)
                                   .united(Slant(QPointF(8 + d, 3 + d), QPointF(2 + d, 10 + d), 2));
    FillSharp(p, k, cross, pressed ? QColor(170, 0, 0) : QColor(220, 20, 20));
}

void DrawMinimise(QPainter& p, int k, bool pressed) {
    DrawButtonFace(p, k, 12, 13, pressed);
    const int d = pressed ? 1 : 0;
    Box(p, k, 3 + d, 8 + d, 6, 2, pressed ? QColor(0, 0, 0) : QColor(40, 40, 40));
}

void DrawHelp(QPainter& p, int k, bool pressed) {
    DrawButtonFace(p, k, 12, 14, pressed);
    const double d = pressed ? 1 : 0;
    QPainterPath line;
    const QRectF circle(3.5 + d, 2 + d, 5, 5);
    line.arcMoveTo(circle, 180);
    line.arcTo(circle, 180, -225);
    line.lineTo(6 + d, 8 + d);
    line.lineTo(6 + d, 9.5 + d);
    QPainterPathStroker stroker;
    stroker.setWidth(2);
    stroker.setCapStyle(Qt::FlatCap);
    stroker.setJoinStyle(Qt::MiterJoin);
    QPainterPath dot;
    dot.addRect(QRectF(5 + d, 11 + d, 2, 2));
    const QPainterPath mark = stroker.createStroke(line).united(dot);
    FillSharp(p, k, mark, pressed ? QColor(0, 40, 150) : QColor(20, 70, 200));
}

// ---------------------------------------------------------------------------------------------
// Pictures rendered from the icon's SVG.

void DrawSvg(QPainter& p, QSvgRenderer& svg, const QRectF& where) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setRenderHint(QPainter::SmoothPixmapTransform, true);
    svg.render(&p, where);
    p.restore();
}

// ---------------------------------------------------------------------------------------------
// Writing.

struct Picture {
    QString name;
    int width;
    int height;
    bool transparent;
    std::function<void(QPainter&, int)> draw;
};

void Save(const QImage& image, const QString& path) {
    QDir().mkpath(path.section(QLatin1Char('/'), 0, -2));
    // Drop the resolution the painter stamped, so the files depend on nothing but the art.
    QImage out = image;
    out.setDotsPerMeterX(0);
    out.setDotsPerMeterY(0);
    if (!out.save(path, "PNG")) {
        Fail(QStringLiteral("cannot write %1").arg(path));
    }
}

QImage Render(const Picture& picture, int k) {
    QImage image(picture.width * k, picture.height * k,
                 picture.transparent ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32);
    image.fill(picture.transparent ? Qt::transparent : Qt::white);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, false);
    picture.draw(p, k);
    p.end();
    return image.convertToFormat(picture.transparent ? QImage::Format_ARGB32
                                                     : QImage::Format_RGB32);
}

void WriteQrc(const QString& path, const QStringList& files) {
    QByteArray text = "<!DOCTYPE RCC>\n<RCC version=\"1.0\">\n<qresource prefix=\"/pictures\">\n";
    for (const QString& file : files) {
        text += "    <file>" + file.toUtf8() + "</file>\n";
    }
    text += "</qresource>\n</RCC>\n";
    QSaveFile out(path);
    if (!out.open(QIODevice::WriteOnly) || out.write(text) != text.size() || !out.commit()) {
        Fail(QStringLiteral("cannot write %1").arg(path));
    }
}

}  // namespace

int main(int argc, char* argv[]) {
    // FreeType's classic TrueType hinting snaps DejaVu's stems to whole pixels, which keeps
    // small captions black and sharp instead of grey.
    if (!qEnvironmentVariableIsSet("FREETYPE_PROPERTIES")) {
        qputenv("FREETYPE_PROPERTIES", "truetype:interpreter-version=35");
    }
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        Fail(QStringLiteral("usage: make_pictures SOURCE_DIR"));
    }
    const QString source = QDir(QString::fromLocal8Bit(argv[1])).absolutePath();
    const QString svgPath = source + QStringLiteral("/data/icons/kelvane.svg");
    const QString picturesDir = source + QStringLiteral("/src/drawing/pictures");
    if (!QDir(picturesDir).exists()) {
        Fail(QStringLiteral("%1 is not Kelvane's source folder").arg(source));
    }
    QSvgRenderer svg(svgPath);
    if (!svg.isValid()) {
        Fail(QStringLiteral("cannot read the icon %1").arg(svgPath));
    }

    std::vector<Picture> pictures;
    pictures.push_back({QStringLiteral("imgG2R"), kRowWidth, kRowHeight, false,
                        [](QPainter& p, int k) { DrawSegmentRow(p, k, true, false); }});
    pictures.push_back({QStringLiteral("imgR2G"), kRowWidth, kRowHeight, false,
                        [](QPainter& p, int k) { DrawSegmentRow(p, k, false, false); }});
    for (const Title& title : kTitles) {
        const int size = CaptionPixelSize(title);
        pictures.push_back({QString::fromLatin1(title.name), kRowWidth, kTitleHeight, false,
                            [&title, size](QPainter& p, int k) { DrawTitle(p, k, title, size); }});
    }
    pictures.push_back({QStringLiteral("Image1"), 114, 16, false, DrawName});
    pictures.push_back({QStringLiteral("imgClose2"), 12, 13, false,
                        [](QPainter& p, int k) { DrawClose(p, k, false); }});
    pictures.push_back({QStringLiteral("imgClose3"), 12, 13, false,
                        [](QPainter& p, int k) { DrawClose(p, k, true); }});
    pictures.push_back({QStringLiteral("imgMin1"), 12, 13, false,
                        [](QPainter& p, int k) { DrawMinimise(p, k, false); }});
    pictures.push_back({QStringLiteral("imgMin2"), 12, 13, false,
                        [](QPainter& p, int k) { DrawMinimise(p, k, true); }});
    pictures.push_back({QStringLiteral("imgHelp1"), 12, 14, false,
                        [](QPainter& p, int k) { DrawHelp(p, k, false); }});
    pictures.push_back({QStringLiteral("imgHelp2"), 12, 14, false,
                        [](QPainter& p, int k) { DrawHelp(p, k, true); }});
    pictures.push_back({QStringLiteral("icon"), 32, 32, true, [&svg](QPainter& p, int k) {
                            DrawSvg(p, svg, QRectF(0, 0, 32 * k, 32 * k));
                        }});
    pictures.push_back({QStringLiteral("helpicon"), 25, 22, true, [&svg](QPainter& p, int k) {
                            DrawSvg(p, svg, QRectF(k, 0, 22 * k, 22 * k));
                        }});

    QStringList files;
    for (const Picture& picture : pictures) {
        for (int k : kScales) {
            const QString file = k == 1 ? picture.name + QStringLiteral(".png")
                                        : QStringLiteral("%1@%2x.png").arg(picture.name).arg(k);
            Save(Render(picture, k), picturesDir + QLatin1Char('/') + file);
            files << file;
        }
    }
    WriteQrc(picturesDir + QStringLiteral("/pictures.qrc"), files);

    for (int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
        const Picture icon{QString(), size, size, true, [&svg, size](QPainter& p, int) {
                               DrawSvg(p, svg, QRectF(0, 0, size, size));
                           }};
        Save(Render(icon, 1),
             QStringLiteral("%1/data/icons/hicolor/%2x%2/apps/kelvane.png").arg(source).arg(size));
    }
    std::printf("make_pictures: wrote %lld pictures to %s and the icon theme PNGs\n",
                static_cast<long long>(files.size()), qPrintable(picturesDir));
    return 0;
}
