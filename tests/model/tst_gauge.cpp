// SPDX-FileCopyrightText: 2026 The Kelvane developers
// SPDX-License-Identifier: MIT

// The gauge with no display, over a fake platform: what a user does and what follows that no
// picture of the window shows (where the window goes, what is saved and when, which reading
// each panel moves on to). What the window looks like is checked against reference pictures
// (tests/view/reference).

#include <doctest/doctest.h>

#include <algorithm>
#include <cstdlib>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#if __has_include(<malloc.h>)
#include <malloc.h>
#endif

#include "fakes/fake_platform.h"
#include "gauge/telling.h"
#include "gauge/words.h"
#include "rules/window_layout.h"

using namespace kelvane;

namespace {

std::vector<std::string> Words(const std::string& text) {
    std::istringstream in(text);
    std::vector<std::string> words;
    for (std::string word; in >> word;) {
        words.push_back(word);
    }
    return words;
}

// The gauge as a user meets it: settings as "Key=value ...", then started.
struct Gauge : FakeGauge {
    explicit Gauge(const std::string& stored = {}, int drives = 1, Size screenSize = {1024, 768}) {
        volumes.PassFirst(drives);
        screen.size = screenSize;
        for (const std::string& pair : Words(stored)) {
            const std::string key = pair.substr(0, pair.find('='));
            const bool startUp = key == "Left" || key == "Top";
            settings.values[{startUp ? "StartUp" : "Forms", key}] = pair.substr(key.size() + 1);
        }
        Start();
    }
    const Controls& c() const { return window.controls(); }
    const Control& Of(const std::string& name, int index = -1) const {
        return c()[c().Find(name, index)];
    }
    // A panel's title, left of its number; its LED row; its number.
    static Point Title(int panel) { return PanelTitlePoint(panel); }
    static Point Leds(int panel) { return PanelStrip(panel).TopLeft() + Point{3, 5}; }
    Point Number(int panel) const { return Of("lblInfo", panel).pixels.Center(); }
    void Click(Point at, bool twice = false) {
        lastClick = host.geometry.TopLeft() + at;
        window.MouseDown(at, twice);
        window.MouseUp(at, kNoButton);
    }
    Point lastClick;  // on the screen
    void Drag(Point by, MouseButtons buttons = kLeftButton) {
        const Point logo = Of("Image1").pixels.Center();
        window.MouseDown(logo, false);
        window.MouseMove(host.geometry.TopLeft() + logo + by, buttons);
        window.MouseUp(logo + by, kNoButton);
    }
    // One user action: "F<n>", a click on "size", "close", "help", "logo", "pin-left",
    // "pin-right" or "pin-top", "logo-double-click", "drag:dx,dy[,right|both]",
    // "screen:WxH" (the screen changes), "again" (a second start), "repeat" (a click where the
    // last one was on the screen, wherever the window is now), "assisted:size" (a screen
    // reader's press of Size), "wait:ms".
    void Do(const std::string& action) {
        static const std::map<std::string, std::string> controls = {
            {"size", "imgMin1"},  {"close", "imgClose2"}, {"help", "imgHelp1"},
            {"logo", "Image1"},   {"pin-left", "Label1"}, {"pin-right", "Label2"},
            {"pin-top", "Label3"}};
        std::string args = action.substr(action.find(':') + 1);
        std::replace(args.begin(), args.end(), ',', ' ');
        std::replace(args.begin(), args.end(), 'x', ' ');
        const std::vector<std::string> f = Words(args);
        const auto number = [&f](std::size_t i) { return std::atoi(f[i].c_str()); };
        if (action[0] == 'F') {
            window.Form_KeyDown(FKey(std::atoi(action.c_str() + 1)));
        } else if (action == "logo-double-click") {
            Click(Of("Image1").pixels.Center());
            Click(Of("Image1").pixels.Center(), true);
        } else if (action.rfind("drag:", 0) == 0) {
            const MouseButtons buttons = f.size() < 3      ? kLeftButton
                                         : f[2] == "right" ? kRightButton
                                                           : kLeftButton | kRightButton;
            Drag({number(0), number(1)}, buttons);
        } else if (action.rfind("screen:", 0) == 0) {
            screen.size = {number(0), number(1)};
            window.ScreensChanged();
        } else if (action.rfind("wait:", 0) == 0) {
            Wait(number(0));
        } else if (action == "repeat") {
            Click(lastClick - host.geometry.TopLeft());
        } else if (action == "again") {
            host.topmost = false;
            window.ComeBack();
        } else if (action == "assisted:size") {
            if (window.TakeAssistedPress()) {
                window.StepSize();
            }
        } else {
            REQUIRE(controls.count(action) == 1);
            Click(Of(controls.at(action)).pixels.Center());
        }
    }
    void Wait(int ms) {
        clock.now += std::chrono::milliseconds(ms);
        window.Timer1_Timer();
    }
    // What the settings hold: "Left Top Section_1 ... Section_8 Panels".
    std::string Saved() const {
        std::string all =
            settings.Value("StartUp", "Left") + ' ' + settings.Value("StartUp", "Top");
        for (int p = 1; p <= kPanels; ++p) {
            all += ' ' + settings.Value("Forms", "Section_" + std::to_string(p));
        }
        return all + ' ' + settings.Value("Forms", "Panels");
    }
    std::string Caption(int panel) const {
        return std::string(c().Text(c().Find("lblInfo", panel)));
    }
};

// Words `first` to `last` of a line of them.
std::string WordsOf(const std::string& line, std::size_t first, std::size_t last) {
    const std::vector<std::string> words = Words(line);
    std::string part;
    for (std::size_t i = first; i <= last && i < words.size(); ++i) {
        part += (part.empty() ? "" : " ") + words[i];
    }
    return part;
}

}  // namespace

TEST_CASE("start-up: where the window goes, and what is saved of it") {
    struct Row {
        const char* name;
        const char* stored;
        Size screen;
        Rect window;
        const char* saved;  // at once, on unload
    };
    const Size xga{1024, 768};
    const Row rows[] = {
        {"first run: all eight panels, centred",
         "",
         xga,
         {444, 260, 136, 248},
         "6660 3900 3 4 5 0 1 2 6 7 4"},
        {"the size code sets the height",
         "Panels=5 Left=1500 Top=757",
         xga,
         {100, 50, 136, 74},
         "1500 750 3 4 5 0 1 2 6 7 5"},
        {"code 8 is six panels",
         "Panels=8",
         xga,
         {444, 260, 136, 190},
         "6660 3900 3 4 5 0 1 2 6 7 8"},
        {"a size code out of the table: all panels at the stored place",
         "Panels=9 Left=1500 Top=750",
         xga,
         {100, 50, 136, 248},
         "1500 750 3 4 5 0 1 2 6 7 4"},
        {"a place off every screen: onto the nearest edge",
         "Left=-300000 Top=9000000",
         xga,
         {0, 520, 136, 248},
         "0 7800 3 4 5 0 1 2 6 7 4"},
        {"a place saved on a larger screen, on a smaller one",
         "Left=27000 Top=15000",
         {800, 600},
         {664, 352, 136, 248},
         "9960 5280 3 4 5 0 1 2 6 7 4"},
        {"a place touching the screen's edges stays",
         "Left=13320 Top=7800",
         xga,
         {888, 520, 136, 248},
         "13320 7800 3 4 5 0 1 2 6 7 4"},
        {"no number counts as 0, fractions round, a place beyond 16 bits loads",
         "Left=40000 Top=abc Section_3=abc Section_4=300 Section_5=4.5 Section_6=2.51",
         {4000, 768},
         {2667, 0, 136, 248},
         "40005 0 3 4 0 0 4 3 6 7 4"},
        {"a code above 30 names no reading: used RAM percent",
         "Section_1=31 Section_5=255 Section_8=30",
         xga,
         {444, 260, 136, 248},
         "6660 3900 0 4 5 0 0 2 6 30 4"},
    };
    for (const Row& row : rows) {
        INFO(row.name);
        Gauge g(row.stored, 1, row.screen);
        CHECK(g.host.geometry == row.window);
        CHECK(g.host.topmost);
        g.window.Form_Unload();
        CHECK(g.Saved() == row.saved);
        CHECK(g.settings.commits == 1);
    }
}

TEST_CASE("the readings the panels move on to") {
    struct Row {
        const char* name;
        int drives;
        const char* stored;
        // Clicks on titles by panel, "leds2", "number2", "double0" (a double-click on a
        // title), keys "F12"; then the readings of the eight panels.
        const char* actions;
        const char* readings;
    };
    const Row rows[] = {
        {"no drive found: total RAM moves on to C:", 0, "Section_1=6", "0", "7 4 5 0 1 2 6 7"},
        {"no drive found: C: moves back to used RAM percent", 0, "Section_1=7", "0",
         "0 4 5 0 1 2 6 7"},
        {"the walk is shared: C: to E: found, the next drive click wraps", 3,
         "Section_1=7 Section_2=6", "0 0 1 1", "9 0 5 0 1 2 6 7"},
        {"the walk is shared: C: to F: found, it goes on to F:", 4, "Section_1=7 Section_2=6",
         "0 0 1 1", "9 10 5 0 1 2 6 7"},
        {"only a title takes the press: not the LEDs nor the number", 1, "Section_3=0",
         "leds2 number2 2", "3 4 1 0 1 2 6 7"},
        {"a double-click on a title is two clicks", 1, "Section_1=0", "double0", "2 4 5 0 1 2 6 7"},
        {"F2 twice: used RAM percent alone, the other panels keep theirs", 1, "Section_8=9",
         "F2 F2", "0 4 5 0 1 2 6 9"},
        {"F11 puts C: on panel 7, found or not, and the walk goes on from there", 2, "", "F11 7",
         "0 1 2 3 4 5 6 0"},
        {"F12 with no drive found changes nothing", 0, "", "F12 0", "4 4 5 0 1 2 6 7"},
        {"F12 with three drives: C: to E:, the walk on from E:", 3, "", "F12 0", "0 8 9 0 1 2 6 7"},
        {"F12 with twelve drives: eight panels, the walk on from J:", 12, "", "F12 0",
         "15 8 9 10 11 12 13 14"},
    };
    for (const Row& row : rows) {
        INFO(row.name);
        Gauge g(row.stored, row.drives);
        for (const std::string& action : Words(row.actions)) {
            const int p = action.back() - '0';
            if (action[0] == 'F') {
                g.Do(action);
            } else if (action.rfind("double", 0) == 0) {
                g.Click(Gauge::Title(p));
                g.Click(Gauge::Title(p), true);
            } else {
                g.Click(action.rfind("leds", 0) == 0     ? Gauge::Leds(p)
                        : action.rfind("number", 0) == 0 ? g.Number(p)
                                                         : Gauge::Title(p));
            }
        }
        g.window.Form_Unload();
        CHECK(WordsOf(g.Saved(), 2, 9) == row.readings);
    }
}

TEST_CASE("the window's own controls") {
    struct Row {
        const char* name;
        const char* stored;
        const char* actions;
        Rect window;
    };
    const Row rows[] = {
        {"the size button steps from where the window was",
         "Panels=1 Left=1500 Top=750",
         "size size",
         {100, 50, 136, 190}},
        {"the size button does nothing after F4", "", "F4 size", {444, 260, 136, 74}},
        {"a double-click on the logo steps from any code",
         "",
         "F4 logo-double-click",
         {444, 260, 136, 103}},
        {"a double-click reaching below the screen rests the window on its bottom",
         "Panels=1 Top=10500",
         "logo-double-click",
         {444, 665, 136, 103}},
        {"the size button never lifts the window",
         "Panels=1 Top=10500",
         "size",
         {444, 700, 136, 103}},
        {"a pin to the left edge", "", "pin-left", {0, 260, 136, 248}},
        {"a pin to the right edge", "", "pin-right", {888, 260, 136, 248}},
        {"a pin to the top edge", "", "pin-top", {444, 0, 136, 248}},
        {"a pin, then the size cycle, from where the pin put it",
         "",
         "pin-right size",
         {888, 260, 136, 45}},
        // The pin's old place lands on the close button once the window has moved right by 121.
        {"a click again where a pin was, after it moved the window, is not taken",
         "Left=11505",
         "pin-right repeat",
         {888, 260, 136, 248}},
        {"a click again where the size button is, is taken",
         "Panels=1",
         "size repeat",
         {444, 260, 136, 190}},
        {"a click landing just after a screen reader pressed Size is the same press",
         "Panels=1",
         "assisted:size size",
         {444, 260, 136, 103}},
        {"a screen reader pressing Size just after a click is the same press",
         "Panels=1",
         "size assisted:size",
         {444, 260, 136, 103}},
        {"a click a while after a screen reader's press is one of its own",
         "Panels=1",
         "assisted:size wait:2000 size",
         {444, 260, 136, 190}},
        {"only the left button alone drags by the logo",
         "",
         "drag:20,30,right drag:20,30,both drag:20,30",
         {464, 290, 136, 248}},
        {"a preset keeps the window's place, even below the screen",
         "",
         "drag:0,300 F8",
         {444, 560, 136, 161}},
        {"a screen that shrinks brings the window back onto it",
         "Left=13320 Top=7800",
         "screen:800x600",
         {664, 352, 136, 248}},
        {"a later start brings a window dragged off the screen back",
         "",
         "drag:2000,0 again",
         {888, 260, 136, 248}},
    };
    for (const Row& row : rows) {
        INFO(row.name);
        Gauge g(row.stored);
        for (const std::string& action : Words(row.actions)) {
            g.Do(action);
        }
        CHECK(g.host.geometry == row.window);
        CHECK(g.host.topmost);
        CHECK(g.host.unloads == 0);
    }
}

// Buttons show their pressed face while held, and a pin acts only when released on its arrow.
TEST_CASE("buttons act on their release") {
    Gauge g;
    for (const auto& [button, face] :
         {std::pair{"imgMin1", "imgMin2"}, {"imgClose2", "imgClose3"}, {"imgHelp1", "imgHelp2"}}) {
        INFO(button);
        const Point at = g.Of(button).pixels.Center();
        g.window.MouseDown(at, false);
        CHECK(g.Of(face).visible);
        g.window.MouseUp(at, kNoButton);
        CHECK(g.Of(face).visible == (std::string(button) == "imgClose2"));
    }
    g.Do("F1");
    CHECK(g.host.helpShown == 2);
    CHECK(g.host.unloads == 1);
    g.window.MouseDown(g.Of("Label1").pixels.Center(), false);
    g.window.MouseUp(g.Of("Image1").pixels.Center(), kNoButton);
    CHECK(g.host.geometry.TopLeft() == Point{444, 260});
}

// A second after the last change, never while nothing changed; once at the end, from where
// the window really is.
TEST_CASE("saved a second after a change, and at the end") {
    Gauge g;
    g.Click(Gauge::Leds(0));
    g.Do("logo");
    g.Do("drag:20,30");
    g.Do("drag:-20,-30");
    g.Wait(5000);
    CHECK(g.settings.commits == 0);
    g.Click(Gauge::Title(0));
    g.Wait(999);
    CHECK(g.settings.commits == 0);
    g.Wait(1);
    CHECK(g.settings.commits == 1);
    CHECK(g.Saved() == "6660 3900 4 4 5 0 1 2 6 7 4");
    g.Click(Gauge::Title(0));
    g.Wait(600);
    g.Do("pin-right");
    g.Wait(600);
    CHECK(g.settings.commits == 1);  // put off by the second change
    g.Wait(400);
    CHECK(g.Saved() == "13320 3900 5 4 5 0 1 2 6 7 4");
    g.window.Form_Unload();
    g.window.Form_Unload();
    CHECK(g.settings.commits == 3);

    Gauge refused;  // as on sway and weston
    refused.host.refuseMoves = true;
    refused.Do("pin-right");
    refused.window.Form_Unload();
    CHECK(WordsOf(refused.Saved(), 0, 1) == "6660 3900");

    Gauge unknown("Left=1515 Top=1530");  // a Wayland client is not told where it is
    unknown.host.positionKnown = false;
    unknown.Do("drag:20,30");
    unknown.window.Form_Unload();
    CHECK(WordsOf(unknown.Saved(), 0, 1) == "1515 1530");
}

TEST_CASE("the readings on a tick") {
    Gauge g("Section_1=7 Section_2=8 Section_3=20", 2);
    std::vector<Rect> repainted;
    g.window.OnRepaint([&](const Rect& r) { repainted.push_back(r); });
    g.memory.readable = false;
    g.volumes.space[0] = {25, 100};
    g.volumes.answering[1] = g.volumes.answeredYet[1] = false;
    g.window.Timer1_Timer();
    // Memory never read, a drive that has not answered yet: no figure made up.
    CHECK(g.Caption(3) == "\u2013");
    CHECK(g.Caption(0) == "75%");
    CHECK(g.Caption(1) == "\u2013");
    // A failed query keeps the drive's last figure, a failed read the last memory figures.
    g.memory.readable = true;
    g.volumes.answering = {false, true};
    g.volumes.space[1] = {40, 100};
    g.window.Timer1_Timer();
    CHECK(g.Caption(3) == "70%");
    CHECK(g.Caption(0) == "75%");
    CHECK(g.Caption(1) == "60%");
    g.memory.readable = false;
    g.window.Timer1_Timer();
    CHECK(g.Caption(3) == "70%");
    // An unchanged tick repaints nothing; new figures repaint only their numbers.
    repainted.clear();
    g.memory.readable = true;
    g.window.Timer1_Timer();
    CHECK(repainted.empty());
    g.memory.status.availPhys += 1024;
    g.window.Timer1_Timer();
    CHECK(repainted == std::vector<Rect>{g.Of("lblInfo", 4).pixels});
}

// What a panel is called, says and where its figure comes from, for tooltips and screen readers.
TEST_CASE("a panel in words") {
    Gauge g("Section_1=7 Section_2=20 Section_3=3 Section_4=1", 2);
    g.memory.readable = false;
    g.window.Timer1_Timer();
    const PanelWords drive = DescribePanel(g.window.Shown(0));
    CHECK(drive.name == "Used drive C: (/)");
    CHECK(drive.description == "Used space of the volume mounted at /");
    const PanelWords absent = DescribePanel(g.window.Shown(1));
    CHECK(absent.name == "Used drive P: (absent)");
    CHECK(absent.figure == "absent");
    CHECK(DescribePanel(g.window.Shown(3)).figure == "unknown");
    g.memory.readable = true;
    g.window.Timer1_Timer();
    const PanelWords memory = DescribePanel(g.window.Shown(3));
    CHECK(memory.name == "Used RAM KB");
    CHECK(memory.figure == g.Caption(3));
    CHECK(memory.description.rfind("Used RAM", 0) == 0);
    CHECK(FrmMain::PanelAt(Gauge::Title(5)) == 5);
    CHECK(FrmMain::PanelAt({5, 2}) == -1);
}

// After a key or a press, a screen reader is told what is shown now: the panels when their
// number or more than one reading changed, one panel's new reading with its figure, or the
// screen's edge the window was pinned to.
TEST_CASE("a change told as what is shown") {
    struct Row {
        const char* name;
        const char* action;
        const char* told;  // how what is told begins: "<n> panels", a panel, an edge, nothing
    };
    const Row rows[] = {
        {"a preset: the panels now shown", "F5", "panels"},
        {"the size button: the panels now shown", "size", "panels"},
        {"a panel's next reading, with its figure", "next", "panel"},
        {"a pin: the edge", "pin-left", "edge"},
        {"nothing changed: nothing told", "F10", ""},
    };
    for (const Row& row : rows) {
        INFO(std::string(row.name));
        Gauge g;
        if (row.action != std::string("size")) {  // it steps only from the heights it gives
            g.Do("F10");
        }
        g.window.Timer1_Timer();
        GaugeAdapter adapter(g.window);
        const Arrangement before = ArrangementNow(adapter, g.host.geometry);
        g.Do(row.action == std::string("next") ? "F10" : row.action);
        if (row.action == std::string("next")) {
            adapter.NextReading(2);
        }
        g.window.Timer1_Timer();
        const Arrangement now = ArrangementNow(adapter, g.host.geometry);
        const std::string told = DescribeChange(before, now, adapter, g.window.ScreenOf(now.place));
        const std::string kind = row.told;
        if (kind.empty()) {
            CHECK(told.empty());
        } else if (kind == "panel") {
            const PanelWords words = DescribePanel(adapter.Panel(2));
            CHECK(told == words.name + ", " + words.figure);
        } else if (kind == "edge") {
            CHECK(told.find("left") != std::string::npos);
            CHECK(told.find("right") == std::string::npos);
        } else {
            std::string names;
            for (int p = 0; p < adapter.VisiblePanels(); ++p) {
                names += (p > 0 ? ", " : "") + DescribePanel(adapter.Panel(p)).name;
            }
            CHECK(told.rfind(std::to_string(adapter.VisiblePanels()), 0) == 0);
            CHECK(told.substr(told.size() - names.size()) == names);
        }
    }
}

// The once-a-second rounds: a screen reader that arrives hears nothing of what it reads first;
// after that, a panel whose figure changed tells it only while figures are told, and one whose
// reading changed tells its new name; panels that come or go reorder the window.
TEST_CASE("the panels' news in each round") {
    Gauge g;
    g.window.Timer1_Timer();
    GaugeAdapter adapter(g.window);
    PanelRounds rounds;
    const PanelNews first = rounds.Round(adapter, true);
    CHECK(first.visible == adapter.VisiblePanels());
    CHECK(std::none_of(first.refigured.begin(), first.refigured.end(), [](bool b) { return b; }));
    g.memory.status.availPhys -= 20'000'000;
    g.window.Timer1_Timer();
    const PanelNews quiet = rounds.Round(adapter, false);
    CHECK(std::none_of(quiet.refigured.begin(), quiet.refigured.end(), [](bool b) { return b; }));
    g.memory.status.availPhys -= 10'000'000;
    g.window.Timer1_Timer();
    const PanelNews told = rounds.Round(adapter, true);
    CHECK(told.refigured[0]);
    CHECK_FALSE(told.renamed[0]);
    adapter.NextReading(0);
    g.window.Timer1_Timer();
    const PanelNews renamed = rounds.Round(adapter, true);
    CHECK(renamed.renamed[0]);
    CHECK_FALSE(renamed.renamed[1]);
    CHECK_FALSE(renamed.reordered);
    g.Do("F2");
    g.window.Timer1_Timer();
    CHECK(rounds.Round(adapter, true).reordered);
    rounds.Restart();
    g.Do("F10");
    g.window.Timer1_Timer();
    const PanelNews fresh = rounds.Round(adapter, true);
    CHECK_FALSE(fresh.reordered);
    CHECK(std::none_of(fresh.renamed.begin(), fresh.renamed.end(), [](bool b) { return b; }));
}

// Days of ticks over figures that change on every tick and a platform that fails now and
// then: the heap never grows (the tick allocates nothing) and what shows never drifts from the
// last figures read. KELVANE_SOAK_TICKS sets the length (20 000; tools/soak.sh runs a
// million). Run with glibc's per-thread cache off (GLIBC_TUNABLES=glibc.malloc.tcache_count=0),
// whose parked blocks would look like a leak.
TEST_CASE("a long run: nothing drifts, nothing grows") {
    const char* wanted = std::getenv("KELVANE_SOAK_TICKS");
    const long long ticks = std::max(20000LL, wanted != nullptr ? std::atoll(wanted) : 0LL);
    Gauge g("Section_1=4 Section_2=7");
    std::int64_t availKb = 0, driveFree = 0;
    [[maybe_unused]] std::size_t heap = 0;
    for (long long t = 1; t <= ticks; ++t) {
        // Faults on their own rhythms, so that every kind meets every other now and then.
        g.memory.readable = t % 7 != 3;
        g.memory.status = {1LL << 30, (t * 7919) % (1 << 20) * 1024};
        g.volumes.answering[0] = t % 11 != 4;
        g.volumes.space[0] = {(t * 31) % 101, 100};
        g.window.Timer1_Timer();
        availKb = g.memory.readable ? (t * 7919) % (1 << 20) : availKb;
        driveFree = g.volumes.answering[0] ? (t * 31) % 101 : driveFree;
        if (t <= 1001 || t % 1000 == 0) {
            REQUIRE(g.Caption(0) == std::to_string(availKb) + " KB");
            REQUIRE(g.Caption(1) == std::to_string(100 - driveFree) + "%");
#if __has_include(<malloc.h>) && defined(__GLIBC__)
            heap = t == 1000 ? mallinfo2().uordblks : heap;
            REQUIRE_MESSAGE((heap == 0 || mallinfo2().uordblks <= heap + 1024), "the heap grows");
#endif
        }
    }
}
