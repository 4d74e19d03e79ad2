// SPDX-FileCopyrightText: 2026 The Kelvane developers
// SPDX-License-Identifier: MIT

#pragma once

#include <wincodec.h>
#include <wrl/client.h>

#include <string>

#include "drawing/gdi/gdi_objects.h"

namespace kelvane {

// The PNG pictures held in the program's resources, decoded by the Windows Imaging Component.
// COM is set up for the calling thread while this lives, where the host has not done so.
class PngResources {
  public:
    PngResources();
    ~PngResources();
    PngResources(const PngResources&) = delete;
    PngResources& operator=(const PngResources&) = delete;

    // The RCDATA resource `name` as premultiplied 32-bit pixels; an empty bitmap where there is
    // no such resource or it does not decode.
    Dib Load(const std::string& name) const;

  private:
    bool comStarted_ = false;
    Microsoft::WRL::ComPtr<IWICImagingFactory> factory_;
};

// Whether every pixel of `pixels` is opaque.
bool AllOpaque(const PixelsIn& pixels);

}  // namespace kelvane
