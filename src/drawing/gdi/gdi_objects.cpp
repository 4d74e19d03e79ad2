// SPDX-FileCopyrightText: 2026 The Kelvane developers
// SPDX-License-Identifier: MIT

#include "drawing/gdi/gdi_objects.h"

namespace kelvane {

MemoryDc MakeMemoryDc() {
    return MemoryDc(CreateCompatibleDC(nullptr));
}

Dib::Dib(int width, int height) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top row first
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    handle_.reset(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (handle_ != nullptr && bits != nullptr) {
        bits_ = static_cast<std::uint32_t*>(bits);
        width_ = width;
        height_ = height;
    } else {
        handle_.reset();
    }
}

}  // namespace kelvane
