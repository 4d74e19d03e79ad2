// SPDX-FileCopyrightText: 2026 The Kelvane developers
// SPDX-License-Identifier: MIT

#pragma once

#include <string>
#include <vector>

#include "drawing/gdi/gdi_objects.h"

namespace kelvane {

// The gauge's artwork at a device pixel ratio, from the PNGs in the program's resources: RCDATA
// `name` drawn for a ratio of 1, `name_2x` for 2. At those two ratios a picture is its artwork as
// it is; at any other (1.25, 1.5 and 1.75 on laptops) the 2x artwork scaled smoothly, which keeps
// every stroke of the lettering where dropping whole rows of pixels would not. Made when the
// ratio is set, so that painting decodes and scales nothing.
class GdiArtwork {
  public:
    GdiArtwork(const std::vector<std::string>& names, double ratio);
    void SetRatio(double ratio);

    // A picture as drawn at the ratio, empty where its artwork is missing; whether it is opaque
    // throughout, so that it can be copied rather than blended.
    const Dib& At(int picture) const;
    bool Opaque(int picture) const { return pictures_[static_cast<std::size_t>(picture)].opaque; }

  private:
    struct Picture {
        std::string name;
        Dib normal;
        Dib dense;   // decoded when a high-density screen first shows it
        Dib scaled;  // at a ratio of neither 1 nor 2
        bool opaque = true;
    };
    std::vector<Picture> pictures_;
    double ratio_ = 1.0;
};

}  // namespace kelvane
