#include "presets/presets.h"

#include <array>

#include "core/panels_mode.h"

namespace kelvane {
namespace {

// The number places are per arrangement, not per reading: each value is applied as it is.
constexpr PresetPanel kF2[] = {{"URP", 0, 1460, 500, false}};
constexpr PresetPanel kF3[] = {{"FRP", 3, 1460, 500, true}};
constexpr PresetPanel kF4[] = {{"URP", 0, 1460, 500, false}, {"FRP", 3, 1460, 530, true}};
constexpr PresetPanel kF5[] = {
    {"URP", 0, 1460, 500, false}, {"FRP", 3, 1460, 530, true}, {"TRK", 6, 1120, 900, true}};
constexpr PresetPanel kF6[] = {
    {"URK", 1, 1150, 830, false}, {"FRK", 4, 1080, 900, true}, {"TRK", 6, 1120, 900, true}};
constexpr PresetPanel kF7[] = {
    {"URM", 2, 1180, 830, false}, {"FRM", 5, 1110, 830, true}, {"TRK", 6, 1120, 900, true}};
constexpr PresetPanel kF8[] = {{"URP", 0, 1460, 500, false},
                               {"URK", 1, 1150, 830, false},
                               {"FRP", 3, 1400, 530, true},
                               {"FRK", 4, 1080, 900, true},
                               {"TRK", 6, 1120, 900, true}};
constexpr PresetPanel kF9[] = {{"URP", 0, 1460, 500, false},
                               {"URM", 2, 1180, 830, false},
                               {"FRP", 3, 1400, 530, true},
                               {"FRM", 5, 1110, 900, true},
                               {"TRK", 6, 1120, 900, true}};
constexpr PresetPanel kF10[] = {{"URP", 0, 1460, 500, false}, {"URK", 1, 1180, 830, false},
                                {"URM", 2, 1180, 830, false}, {"FRP", 3, 1400, 530, true},
                                {"FRK", 4, 1120, 900, true},  {"FRM", 5, 1120, 900, true},
                                {"TRK", 6, 1120, 900, true}};
constexpr PresetPanel kF11[] = {{"URP", 0, 1460, 500, false}, {"URK", 1, 1180, 830, false},
                                {"URM", 2, 1180, 830, false}, {"FRP", 3, 1400, 530, true},
                                {"FRK", 4, 1120, 900, true},  {"FRM", 5, 1120, 900, true},
                                {"TRK", 6, 1120, 900, true},  {"UD", 7, 1070, 900, false}};

const std::array<Preset, 10> kPresets = {{
    {1, WindowHeight(1), kF2},
    {1, WindowHeight(1), kF3},
    {5, WindowHeight(2), kF4},
    {2, WindowHeight(3), kF5},
    {2, WindowHeight(3), kF6},
    {2, WindowHeight(3), kF7},
    {3, WindowHeight(5), kF8},
    {3, WindowHeight(5), kF9},
    {6, WindowHeight(7), kF10},
    {4, WindowHeight(8), kF11},
}};

}  // namespace

const Preset* PresetForKey(int key) {
    constexpr int kF2Key = 113;
    if (key < kF2Key || key >= kF2Key + static_cast<int>(kPresets.size())) {
        return nullptr;
    }
    return &kPresets[static_cast<std::size_t>(key - kF2Key)];
}

std::uint8_t PanelsModeForPanels(int panels) {
    constexpr std::uint8_t kModes[9] = {0, 1, 5, 2, 7, 3, 8, 6, 4};
    return panels >= 1 && panels <= 8 ? kModes[panels] : 0;
}

}  // namespace kelvane
