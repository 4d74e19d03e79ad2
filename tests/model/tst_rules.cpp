// SPDX-FileCopyrightText: 2026 The Kelvane developers
// SPDX-License-Identifier: MIT

// The pure rules: what a panel shows for its readings, a volume's use, where a window goes on
// the screens, and the reading of /proc/meminfo. (The settings number is checked against another
// reading by its fuzz target, whose seeds run as a test; the LEDs lit at each level show in the
// reference pictures.)

#include <doctest/doctest.h>

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "parsers/meminfo.h"
#include "rules/layer_placement.h"
#include "rules/placement.h"
#include "rules/reading_rules.h"
#include "rules/scaled_screens.h"

using namespace kelvane;

namespace {

constexpr std::int64_t kGiB = 1024LL * 1024 * 1024;

}  // namespace

// A panel whose inputs have not changed is skipped on the tick, so any change that would show
// on the panel must change its inputs too: each input changed on its own, for every kind.
TEST_CASE("a change that shows on a panel changes its inputs") {
    for (int c = 0; c <= kLastDrive; ++c) {
        const auto code = static_cast<SectionKind>(c);
        std::array<std::int16_t, kDriveLetters> drives{};
        TickReadings before;
        before.mem = {8 * kGiB, 3 * kGiB};
        before.freePercent = FreePercentOf(before.mem);
        before.driveUsedPercent = drives.data();
        PanelResult shown;
        PanelReading(code, before, shown);
        REQUIRE(shown.state == PanelResult::State::kFigure);
        for (int change = 0; change < 4 + kDriveLetters; ++change) {
            CAPTURE(code);
            CAPTURE(change);
            std::array<std::int16_t, kDriveLetters> changed{};
            TickReadings after = before;
            after.driveUsedPercent = changed.data();
            after.mem.availPhys += change == 0 ? 1024 : change == 1 ? kGiB : 0;
            after.mem.totalPhys += change == 2 ? kGiB : 0;
            after.freePercent = static_cast<std::int16_t>(after.freePercent + (change == 3));
            if (change >= 4) {
                changed[static_cast<std::size_t>(change - 4)] = 1;
            }
            PanelResult result;
            PanelReading(code, after, result);
            if (result.caption != shown.caption || result.led.level != shown.led.level ||
                result.figure != shown.figure || result.fullScale != shown.fullScale) {
                CHECK(PanelInputsOf(code, after) != PanelInputsOf(code, before));
            }
        }
    }
}

TEST_CASE("a volume's use is the complement of its free share, rounded half to even once") {
    const std::int64_t rows[][3] = {{505'679'872, 2'048'000'000, 75},
                                    {50'000LL * 4096, 400'000LL * 4096, 88},
                                    {150'000LL * 4096, 400'000LL * 4096, 62},
                                    {1, 16 * 1024 * kGiB, 100},
                                    {0, 0, -1},  // no size: no figure
                                    {5, 4, -1}};
    for (const auto& [freeBytes, totalBytes, used] : rows) {
        CAPTURE(freeBytes);
        const auto result = UsedPercentOf({freeBytes, totalBytes});
        CHECK((result ? *result : -1) == used);
    }
}

TEST_CASE("meminfo") {
    struct Row {
        const char* name;
        const char* text;
        std::int64_t totalKb;  // -1: no reading
        std::int64_t availKb;
    };
    const Row rows[] = {
        {"a kernel with MemAvailable",
         "MemTotal:       16318412 kB\nMemFree:         1204480 kB\nMemAvailable:    9876544 kB\n",
         16318412, 9876544},
        {"an older kernel: free, buffers and cached",
         "MemTotal:  1000 kB\nMemFree:  100 kB\nBuffers:  20 kB\nCached:  30 kB\nSwapCached:  99 "
         "kB\n",
         1000, 150},
        {"an older kernel without cached",
         "MemTotal:  1000 kB\nMemFree:  100 kB\nBuffers:  20 kB\n", -1, 0},
        {"too large for bytes", "MemTotal:  99999999999999999999 kB\nMemAvailable:  1 kB\n", -1, 0},
        // Found by fuzzing: a read cut short after the sum gave a figure the whole text did not.
        {"the first complete figures settle it",
         "MemTotal:100 kB\nBuffers:2 kB\nCached:2 kB\nMemFree:8 kB\nMemAvailable:40 kB\n", 100, 12},
    };
    for (const Row& row : rows) {
        INFO(row.name);
        const auto status = ParseMeminfo(row.text);
        CHECK((status ? status->totalPhys : -1024) == row.totalKb * 1024);
        CHECK((status ? status->availPhys : 0) == row.availKb * 1024);
    }
}

namespace {

// Two screens side by side, the right one shorter: a gap below it.
const std::vector<Rect> kTwoScreens = {{0, 0, 1920, 1080}, {1920, 0, 1280, 1024}};

}  // namespace

TEST_CASE("a window goes where all of it can be reached") {
    struct Row {
        const char* name;
        Rect wanted;
        Rect placed;
    };
    const Row rows[] = {
        {"touching both edges: unchanged", {1784, 832, 136, 248}, {1784, 832, 136, 248}},
        {"across both screens: unchanged", {1900, 100, 136, 248}, {1900, 100, 136, 248}},
        {"partly in the gap: onto the nearer screen", {1900, 900, 136, 248}, {1920, 776, 136, 248}},
        {"far off: the nearest corner", {-20000, 10176, 136, 248}, {0, 832, 136, 248}},
        {"beyond the right edge", {3190, 10, 136, 248}, {3064, 10, 136, 248}},
    };
    for (const Row& row : rows) {
        INFO(row.name);
        CHECK(FitOnScreens(row.wanted, kTwoScreens) == row.placed);
    }
}

TEST_CASE("a layer surface goes on the screen that holds its corner, with margins from it") {
    struct Row {
        const char* name;
        Rect window;
        int screen;
        Point margins;
    };
    const Row rows[] = {
        {"on the first screen", {100, 100, 136, 248}, 0, {100, 100}},
        {"on the second: margins from its corner", {3000, 700, 136, 248}, 1, {1080, 700}},
        {"across both: where its corner is", {1900, 100, 136, 248}, 0, {1900, 100}},
        {"corner in the gap below the second: the first", {2000, 1050, 136, 248}, 0, {2000, 1050}},
        {"left of every screen: the first", {-50, 10, 136, 248}, 0, {-50, 10}},
    };
    for (const Row& row : rows) {
        INFO(row.name);
        CHECK(ScreenIndexAt(row.window.TopLeft(), kTwoScreens) == row.screen);
        CHECK(LayerMargins(row.window, kTwoScreens[static_cast<std::size_t>(row.screen)]) ==
              row.margins);
        CHECK(ScreenIndexAt(row.window.TopLeft(), {}) == -1);
    }
}

// A monitor at 200 % on the left of one at 100 %, and a third at 150 % below the second.
TEST_CASE("positions on screens of different scale") {
    const std::vector<ScaledScreen> screens = {
        {{0, 0, 3840, 2160}, 2.0}, {{3840, 0, 1920, 1080}, 1.0}, {{3840, 1080, 1920, 1080}, 1.5}};
    struct Row {
        const char* name;
        Point device;
        PointF logical;
    };
    const Row rows[] = {
        {"a screen's corner stays where it is", {3840, 1080}, {3840, 1080}},
        {"on a doubled screen, half as far from its corner", {200, 100}, {100, 50}},
        {"on an unscaled screen, as it is", {4000, 500}, {4000, 500}},
        {"at 150 %, two thirds as far", {3840 + 300, 1080 + 150}, {3840 + 200, 1080 + 100}},
    };
    for (const Row& row : rows) {
        INFO(row.name);
        CHECK(ToLogical(screens, row.device) == row.logical);
        CHECK(ToDevice(screens, row.logical) == row.device);
    }
    // The window keeps its logical size: in device pixels it is as large as its screen scales.
    CHECK(ToDevice(screens, Rect{100, 50, 136, 248}) == Rect{200, 100, 272, 496});
    CHECK(ToLogical(screens, Rect{200, 100, 272, 496}) == Rect{100, 50, 136, 248});
    // Between the doubled screen's logical width and the next screen lies no screen: a point
    // there belongs to the nearest.
    CHECK(ScreenAtLogical(screens, {2500, 100}) == 0);
    CHECK(ScreenAtLogical(screens, {3500, 100}) == 1);
    CHECK(ToDevice({}, PointF{7.4, 8.6}) == Point{7, 9});
}

#if __has_include(<xkbcommon/xkbcommon-keysyms.h>)
#include <xkbcommon/xkbcommon-keysyms.h>

TEST_CASE("the function keys from their key symbols") {
    struct Row {
        const char* name;
        std::uint32_t keysym;
        int number;
    };
    const Row rows[] = {
        {"F1: help", XKB_KEY_F1, 1},
        {"F5", XKB_KEY_F5, 5},
        {"F12: the drives", XKB_KEY_F12, 12},
        {"F13: none of the gauge's", XKB_KEY_F13, 0},
        {"the key below F1: none", XKB_KEY_F1 - 1, 0},
        {"a letter: none", XKB_KEY_a, 0},
        {"Escape: none", XKB_KEY_Escape, 0},
    };
    for (const Row& row : rows) {
        INFO(row.name);
        CHECK(FunctionKeyNumber(row.keysym) == row.number);
    }
}
#endif
