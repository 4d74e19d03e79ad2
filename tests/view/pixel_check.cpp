// SPDX-FileCopyrightText: 2026 The Kelvane developers
// SPDX-License-Identifier: MIT

// Captures the main window in every state worth comparing, on the offscreen platform over
// the fake platform of the tests, and compares two sets of captures pixel for pixel.
//
//   pixel_check capture DIR   writes DIR/<state>.png
//   pixel_check compare A B   names every state whose picture differs or is missing
//   pixel_check check REF DIR captures into DIR and compares with the pictures in REF
//
// On an X server (QT_QPA_PLATFORM=xcb) the main window is read back from the server instead,
// which holds what was drawn there as well as what Qt sent; after an expose it is read again
// and must not have changed (a picture "<state>-exposed" is written when it has).
//
// The test suite checks the window against the reference pictures in tests/view/reference
// (tools/update-reference-pictures.sh makes them anew when a change is meant). It is also
// built inside the tree of another revision (tools/pixel-check.sh), so it only uses what every
// revision offers: the fake platform, the window as a widget, key and mouse events, and one
// tick.

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QTest>
#include <algorithm>
#include <array>
#include <cstdio>
#include <functional>
#include <type_traits>

#include "fakes/fake_platform.h"
#include "rules/window_layout.h"
#if __has_include("hosts/qt/main_view.h")
#define KELVANE_ONE_VIEW
#include "hosts/qt/main_view.h"
#elif __has_include("gauge/frm_main.h")
#define KELVANE_ONE_VIEW
#include "window/main_view.h"
#endif
#if __has_include("drawing/x11/x11_presenter.h") || __has_include("window/x11_presenter.h")
#define KELVANE_READ_BACK
#include <xcb/xcb.h>

#include <QGuiApplication>
#include <bit>
#include <cstring>
#include <numeric>
#endif
#if __has_include("help/frm_help.h")
#include <QScrollBar>

#include "help/frm_help.h"
#elif __has_include("window/frm_help.h")
#include <QScrollBar>

#include "window/frm_help.h"
#endif

using namespace kelvane;

namespace {

// The fake gauge, given the locale's decimal point where the revision takes it so.
template <typename Gauge>
Gauge MakeGauge(const std::string& decimalPoint) {
    if constexpr (std::is_constructible_v<Gauge, std::string>) {
        return Gauge(decimalPoint);
    } else {
        return Gauge();
    }
}

#ifdef KELVANE_ONE_VIEW
// The gauge as plain data, drawn by one view.
struct Subject {
    explicit Subject(const std::string& decimalPoint = ".")
        : g(MakeGauge<FakeGauge>(decimalPoint)) {}
    FakeGauge g;
    MainView* view = nullptr;
    void Start() {
        view = new MainView(g.window);
        g.Start();
    }
    ~Subject() { delete view; }
    QWidget* Widget() { return view; }
    void Tick() { g.window.Timer1_Timer(); }
};
#else
struct Subject {
    explicit Subject(const std::string& = ".") {}
    FakeGauge g;
    void Start() { g.Start(); }
    QWidget* Widget() { return &g.window; }
    void Tick() { g.window.Timer1_Timer(); }
};
#endif

constexpr std::int64_t kGiB = 1024LL * 1024 * 1024;

#ifdef KELVANE_READ_BACK
// The window's pixels as the X server has them, at whatever depth, as 32-bit colour: a true
// colour pixel's channels widened as a server shows them, a colour map's entries as it holds
// them.
QImage ReadBack(QWidget* widget) {
    xcb_connection_t* connection =
        qGuiApp->nativeInterface<QNativeInterface::QX11Application>()->connection();
    const auto window = static_cast<xcb_window_t>(widget->winId());
    const QSize size = widget->size() * widget->devicePixelRatio();
    auto* attributes = xcb_get_window_attributes_reply(
        connection, xcb_get_window_attributes(connection, window), nullptr);
    xcb_get_image_reply_t* reply =
        xcb_get_image_reply(connection,
                            xcb_get_image(connection, XCB_IMAGE_FORMAT_Z_PIXMAP, window, 0, 0,
                                          static_cast<std::uint16_t>(size.width()),
                                          static_cast<std::uint16_t>(size.height()), ~0U),
                            nullptr);
    const xcb_visualtype_t* visual = nullptr;
    const xcb_setup_t* setup = xcb_get_setup(connection);
    for (auto depth = xcb_screen_allowed_depths_iterator(xcb_setup_roots_iterator(setup).data);
         depth.rem > 0 && attributes != nullptr; xcb_depth_next(&depth)) {
        for (auto v = xcb_depth_visuals_iterator(depth.data); v.rem > 0; xcb_visualtype_next(&v)) {
            visual = v.data->visual_id == attributes->visual ? v.data : visual;
        }
    }
    QImage image;
    if (reply != nullptr && visual != nullptr) {
        int bits = 32;
        for (auto f = xcb_setup_pixmap_formats_iterator(setup); f.rem > 0; xcb_format_next(&f)) {
            bits = f.data->depth == reply->depth ? f.data->bits_per_pixel : bits;
        }
        std::vector<QRgb> map;
        if (visual->_class != XCB_VISUAL_CLASS_TRUE_COLOR) {
            std::vector<std::uint32_t> pixels(256);
            std::iota(pixels.begin(), pixels.end(), 0u);
            auto* colours = xcb_query_colors_reply(
                connection, xcb_query_colors(connection, attributes->colormap, 256, pixels.data()),
                nullptr);
            for (int i = 0; colours != nullptr && i < xcb_query_colors_colors_length(colours);
                 ++i) {
                const xcb_rgb_t c = xcb_query_colors_colors(colours)[i];
                map.push_back(qRgb(c.red >> 8, c.green >> 8, c.blue >> 8));
            }
            std::free(colours);
        }
        const auto channel = [](std::uint32_t pixel, std::uint32_t mask) {
            const int width = std::popcount(mask);
            const std::uint32_t value = (pixel & mask) >> std::countr_zero(mask);
            std::uint32_t wide = 0;  // the value's bits repeated into eight
            for (int at = 8 - width; at > -width; at -= width) {
                wide |= at >= 0 ? value << at : value >> -at;
            }
            return static_cast<int>(wide & 0xff);
        };
        image = QImage(size, QImage::Format_RGB32);
        const std::uint8_t* data = xcb_get_image_data(reply);
        const int stride = xcb_get_image_data_length(reply) / std::max(1, size.height());
        for (int y = 0; y < size.height(); ++y) {
            for (int x = 0; x < size.width(); ++x) {
                std::uint32_t pixel = 0;
                std::memcpy(&pixel, data + y * stride + x * bits / 8,
                            static_cast<std::size_t>(bits / 8));
                image.setPixel(x, y,
                               map.empty() ? qRgb(channel(pixel, visual->red_mask),
                                                  channel(pixel, visual->green_mask),
                                                  channel(pixel, visual->blue_mask))
                                           : map[pixel % map.size()]);
            }
        }
    }
    std::free(reply);
    std::free(attributes);
    return image;
}

// Counts the paints Qt makes of one widget.
class PaintCount : public QObject {
  public:
    int paints = 0;
    bool eventFilter(QObject*, QEvent* event) override {
        paints += event->type() == QEvent::Paint;
        return false;
    }
};

// What the server shows once the changes are drawn, and whether an expose, after which Qt
// repaints from its backing store, leaves it so.
QImage FromServer(MainView* view, QImage* exposed) {
    if (!QTest::qWaitForWindowExposed(view->windowHandle())) {
        return {};
    }
    view->PresentChanges();
    QCoreApplication::processEvents();
    const QImage shown = ReadBack(view);
    PaintCount count;
    view->installEventFilter(&count);
    xcb_connection_t* connection =
        qGuiApp->nativeInterface<QNativeInterface::QX11Application>()->connection();
    xcb_clear_area(connection, 1, static_cast<xcb_window_t>(view->winId()), 0, 0, 0, 0);
    xcb_flush(connection);
    // Once an expose has not been repainted, the rest are not waited for.
    static bool repaintsExposes = true;
    repaintsExposes = repaintsExposes && QTest::qWaitFor([&] { return count.paints > 0; });
    const bool repainted = repaintsExposes;
    view->removeEventFilter(&count);
    *exposed = repainted ? ReadBack(view) : QImage();
    return shown;
}
#endif

// Every panel's drive letter passes the probe, each drive at its own level.
void AllDrives(Subject& s) {
    s.g.volumes.PassFirst(kDriveLetters);
    for (int k = 0; k < kDriveLetters; ++k) {
        s.g.volumes.space[static_cast<std::size_t>(k)] = {4 * k + 1, 100};
    }
}

// A stored setting, in whichever strings the revision's fake store keeps.
template <typename Settings>
void Store(Settings& settings, const char* section, const std::string& key, int value) {
    if constexpr (requires { settings.values[{std::string(), std::string()}] = std::string(); }) {
        settings.values[{std::string(section), key}] = std::to_string(value);
    } else {
        settings.values[{QString::fromLatin1(section), QString::fromStdString(key)}] =
            QString::number(value);
    }
}

void SetSections(Subject& s, const std::array<int, kPanels>& codes) {
    for (int p = 0; p < kPanels; ++p) {
        Store(s.g.settings, "Forms", "Section_" + std::to_string(p + 1),
              codes[static_cast<std::size_t>(p)]);
    }
}

// A point of the window, in whichever geometry the revision gives it.
template <typename P>
QPoint AsQPoint(const P& p) {
    if constexpr (requires { p.x(); }) {
        return p;
    } else {
        return {p.x, p.y};
    }
}

// On an X server, the window is shown and painted before it changes, so that what changes is
// drawn as on a running gauge, not in the first paint.
void Shown(Subject& s) {
#ifdef KELVANE_READ_BACK
    if (QGuiApplication::platformName() == QLatin1String("xcb") &&
        QTest::qWaitForWindowExposed(s.Widget()->windowHandle())) {
        QCoreApplication::processEvents();
    }
#else
    (void)s;
#endif
}

// One state of the window worth a picture: how its gauge is set up before it starts, and what
// happens to it after.
using Setup = std::function<void(Subject&)>;
struct State {
    QString name;
    Setup before;
    Setup after;
};

void Tick(Subject& s) {
    s.Tick();
}

Setup Sections(const std::array<int, kPanels>& codes, bool allDrives = false) {
    return [codes, allDrives](Subject& s) {
        if (allDrives) {
            AllDrives(s);
        }
        SetSections(s, codes);
    };
}

Setup ClickAt(QPoint at, bool twice = false) {
    return [at, twice](Subject& s) {
        s.Tick();
        if (twice) {
            QTest::mouseDClick(s.Widget()->windowHandle(), Qt::LeftButton, {}, at);
        } else {
            QTest::mouseClick(s.Widget()->windowHandle(), Qt::LeftButton, {}, at);
        }
        s.Tick();
    };
}

std::vector<State> States() {
    std::vector<State> all = {
        {QStringLiteral("start-before-tick"), nullptr, nullptr},
        {QStringLiteral("start-ticked"), nullptr, Tick},
        // Figures not known: memory never read, a letter that names no volume.
        {QStringLiteral("unknown-figures"),
         [](Subject& s) {
             s.g.memory.readable = false;
             s.g.volumes.PassFirst(5);
             SetSections(s, {0, 3, 6, 7, 20, 1, 4, 2});
         },
         Tick},
    };
    // Every kind at start, four panels' worth at a time.
    for (int start = 0; start < 4; ++start) {
        std::array<int, kPanels> codes{};
        for (int p = 0; p < kPanels; ++p) {
            codes[static_cast<std::size_t>(p)] = (8 * start + p) % 31;
        }
        all.push_back(
            {QStringLiteral("kinds-from-%1").arg(8 * start), Sections(codes, true), Tick});
    }
    // The keys, from the first-run arrangement.
    for (int key = 2; key <= 12; ++key) {
        for (const int drives : {0, 1, 3, 12}) {
            if (key != 12 && drives != 3) {
                continue;
            }
            all.push_back({QStringLiteral("key-F%1-drives-%2").arg(key).arg(drives),
                           [drives](Subject& s) { s.g.volumes.PassFirst(drives); },
                           [key](Subject& s) {
                               s.Tick();
                               QTest::keyClick(s.Widget(), Qt::Key(Qt::Key_F1 + key - 1));
                               s.Tick();
                           }});
        }
    }
    // The size cycle: the button from every code, the logo's double-click from every code.
    for (int code = 1; code <= 8; ++code) {
        const Setup stored = [code](Subject& s) { Store(s.g.settings, "Forms", "Panels", code); };
        all.push_back({QStringLiteral("size-button-from-%1").arg(code), stored, ClickAt({22, 7})});
        all.push_back(
            {QStringLiteral("size-logo-from-%1").arg(code), stored, ClickAt({95, 10}, true)});
    }
    // Buttons held down.
    const std::pair<const char*, QPoint> buttons[] = {
        {"size", {22, 7}},       {"close", {9, 8}},        {"help", {36, 10}},   {"logo", {95, 10}},
        {"pin-left", {113, 11}}, {"pin-right", {130, 11}}, {"pin-top", {121, 5}}};
    for (const auto& [name, at] : buttons) {
        const QPoint point = at;
        all.push_back(
            {QStringLiteral("held-%1").arg(QLatin1String(name)), nullptr, [point](Subject& s) {
                 s.Tick();
                 QTest::mousePress(s.Widget()->windowHandle(), Qt::LeftButton, {}, point);
             }});
    }
    // Memory figures: bars at their jumps, long and fractional captions.
    const std::pair<const char*, MemoryStatus> figures[] = {
        {"none-free", {8 * kGiB, 0}},
        {"three-percent-free", {100 * 1024 * 1024, 3 * 1024 * 1024 + 512}},
        {"fifty-five-free", {100 * 1024 * 1024, 55 * 1024 * 1024}},
        {"all-free", {8 * kGiB, 8 * kGiB}},
        {"fraction", {133'693'440, 50'000'000}},
        {"half-even", {133'693'440, 48'758'784}},  // 46.5 MB free shows 46
        {"64-GiB", {64 * kGiB, 16 * kGiB + 1536}},
        // Figures too wide even for the narrow font, squeezed into their labels whole.
        {"11-digits", {12'345'678'901LL * 1024, 1'000'000'000LL * 1024}},
        {"16-digits", {9'007'199'254'740'991LL * 1024, 1024}},
    };
    for (const auto& [name, status] : figures) {
        const MemoryStatus mem = status;
        all.push_back({QStringLiteral("memory-%1").arg(QLatin1String(name)),
                       [mem](Subject& s) {
                           s.g.memory.status = mem;
                           SetSections(s, {0, 1, 2, 3, 4, 5, 6, 7});
                       },
                       Tick});
    }
    return all;
}

int CaptureAll(const QString& dir) {
    QDir().mkpath(dir);
    int count = 0;
    const auto shoot = [&](QWidget* widget, const QString& name) {
        const QString path = dir + QLatin1Char('/') + name;
#ifdef KELVANE_READ_BACK
        auto* view = qobject_cast<MainView*>(widget);
        if (view != nullptr && QGuiApplication::platformName() == QLatin1String("xcb")) {
            QImage exposed;
            const QImage shown = FromServer(view, &exposed);
            shown.save(path + QStringLiteral(".png"));
            if (exposed != shown) {
                exposed.save(path + QStringLiteral("-exposed.png"));
            }
            ++count;
            return;
        }
        // Another window (the help window) as the server shows it too, once painted: Qt's own
        // painting, or painted into an image on a display of fewer colours.
        if (QGuiApplication::platformName() == QLatin1String("xcb") &&
            QTest::qWaitForWindowExposed(widget->windowHandle())) {
            QTest::qWait(0);
            QCoreApplication::processEvents();
            ReadBack(widget).save(path + QStringLiteral(".png"));
            ++count;
            return;
        }
#endif
        QCoreApplication::processEvents();
        widget->grab().toImage().save(path + QStringLiteral(".png"));
        ++count;
    };
    for (const State& state : States()) {
        Subject s;
        if (state.before) {
            state.before(s);
        }
        s.Start();
        Shown(s);
        if (state.after) {
            state.after(s);
        }
        shoot(s.Widget(), state.name);
    }

    // One panel clicked through the whole cycle, before and after the tick shows it.
    {
        Subject s;
        AllDrives(s);
        SetSections(s, {0, 3, 6, 7, 30, 1, 4, 2});
        s.Start();
        Shown(s);
        s.Tick();
        for (int click = 1; click <= 31; ++click) {
            const auto button = click % 3 == 0 ? Qt::RightButton : Qt::LeftButton;
            QTest::mouseClick(s.Widget()->windowHandle(), button, {}, AsQPoint(PanelTitlePoint(0)));
            const QString name = QStringLiteral("cycle-%1").arg(click, 2, 10, QLatin1Char('0'));
            shoot(s.Widget(), name + QStringLiteral("-before-tick"));
            s.Tick();
            shoot(s.Widget(), name);
        }
    }
    // A decimal separator beyond ASCII, which the glyph cache leaves to whole-text drawing.
    {
        QLocale::setDefault(QLocale(QLocale::Arabic));
        Subject s(QLocale().decimalPoint().toStdString());
        s.g.memory.status = {133'693'440, 50'000'000};
        SetSections(s, {0, 1, 2, 3, 4, 5, 6, 7});
        s.Start();
        s.Tick();
        QLocale::setDefault(QLocale::c());
        shoot(s.Widget(), QStringLiteral("memory-fraction-arabic"));
    }
#if __has_include("help/frm_help.h") || __has_include("window/frm_help.h")
    // The help window, with its icons and key table.
    {
        Subject s;
        s.Start();
        QTest::keyClick(s.Widget(), Qt::Key_F1);
        FrmHelp* help = s.view->HelpWindow();
        shoot(help, QStringLiteral("help-window"));
        help->Text1->verticalScrollBar()->setValue(help->Text1->verticalScrollBar()->maximum());
        shoot(help, QStringLiteral("help-window-keys"));
    }
#endif
    return count;
}

int Compare(const QString& a, const QString& b, const std::array<int, 3>& bits = {8, 8, 8}) {
    const auto near = [&bits](QRgb l, QRgb r) {
        return std::abs(qRed(l) - qRed(r)) < 256 >> bits[0] &&
               std::abs(qGreen(l) - qGreen(r)) < 256 >> bits[1] &&
               std::abs(qBlue(l) - qBlue(r)) < 256 >> bits[2];
    };
    int differing = 0;
    QStringList names = QDir(a).entryList({QStringLiteral("*.png")}, QDir::Files, QDir::Name);
    names += QDir(b).entryList({QStringLiteral("*.png")}, QDir::Files);
    names.removeDuplicates();
    for (const QString& name : names) {
        const QImage left(a + QLatin1Char('/') + name);
        const QImage right(b + QLatin1Char('/') + name);
        QString verdict;
        if (left.isNull() || right.isNull()) {
            verdict = QStringLiteral("missing on one side");
        } else if (left.size() != right.size()) {
            verdict = QStringLiteral("sizes differ");
        } else {
            const QImage l = left.convertToFormat(QImage::Format_RGB32);
            const QImage r = right.convertToFormat(QImage::Format_RGB32);
            int pixels = 0;
            for (int y = 0; y < l.height(); ++y) {
                for (int x = 0; x < l.width(); ++x) {
                    pixels += !near(l.pixel(x, y), r.pixel(x, y));
                }
            }
            if (pixels > 0) {
                verdict = QStringLiteral("%1 pixels differ").arg(pixels);
            }
        }
        if (!verdict.isEmpty()) {
            std::printf("%s: %s\n", qPrintable(name), qPrintable(verdict));
            ++differing;
        }
    }
    std::printf("%lld pictures, %d differ\n", static_cast<long long>(names.size()), differing);
    return differing == 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() == 3 && args[1] == QLatin1String("capture")) {
        const int count = CaptureAll(args[2]);
        std::printf("%d pictures in %s\n", count, qPrintable(args[2]));
        return 0;
    }
    if (args.size() == 4 && args[1] == QLatin1String("compare")) {
        return Compare(args[2], args[3]);
    }
    // check REF DIR R,G,B: within the colours of a display of R, G and B bits a channel.
    if ((args.size() == 4 || args.size() == 5) && args[1] == QLatin1String("check")) {
        std::array<int, 3> bits{8, 8, 8};
        const QStringList given = args.value(4).split(QLatin1Char(','));
        for (std::size_t c = 0; c < 3 && given.size() == 3; ++c) {
            bits[c] = std::clamp(given[static_cast<int>(c)].toInt(), 1, 8);
        }
        QDir(args[3]).removeRecursively();
        CaptureAll(args[3]);
        return Compare(args[2], args[3], bits);
    }
    std::fprintf(stderr,
                 "usage: pixel_check capture DIR | compare DIR_A DIR_B | check REF DIR [R,G,B]\n");
    return 2;
}
