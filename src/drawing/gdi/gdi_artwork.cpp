// SPDX-FileCopyrightText: 2026 The Kelvane developers
// SPDX-License-Identifier: MIT

#include "drawing/gdi/gdi_artwork.h"

#include "drawing/gdi/device_pixels.h"
#include "drawing/gdi/png_resources.h"

namespace kelvane {

GdiArtwork::GdiArtwork(const std::vector<std::string>& names, double ratio) {
    const PngResources resources;
    for (const std::string& name : names) {
        Picture picture{name, resources.Load(name), {}, {}, true};
        picture.opaque = AllOpaque(picture.normal.In());
        pictures_.push_back(std::move(picture));
    }
    SetRatio(ratio);
}

void GdiArtwork::SetRatio(double ratio) {
    ratio_ = ratio;
    if (ratio == 1.0) {
        return;
    }
    const PngResources resources;
    std::vector<float> scratch;
    const DevicePixels device{ratio};
    for (Picture& picture : pictures_) {
        if (picture.dense.Empty()) {
            picture.dense = resources.Load(picture.name + "_2x");
        }
        if (ratio == 2.0) {
            continue;
        }
        const Rect size(0, 0, device.At(picture.normal.Width()),
                        device.At(picture.normal.Height()));
        picture.scaled = Dib(size.width, size.height);
        ScaleSmoothly(picture.dense.In(), picture.scaled.Out(), size, size, scratch);
    }
}

const Dib& GdiArtwork::At(int index) const {
    const Picture& picture = pictures_[static_cast<std::size_t>(index)];
    return ratio_ == 1.0 ? picture.normal : ratio_ == 2.0 ? picture.dense : picture.scaled;
}

}  // namespace kelvane
