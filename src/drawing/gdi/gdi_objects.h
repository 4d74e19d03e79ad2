// SPDX-FileCopyrightText: 2026 The Kelvane developers
// SPDX-License-Identifier: MIT

#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <type_traits>

#include "drawing/gdi/smooth_scale.h"

namespace kelvane {

// GDI's objects, each deleted with its owner.
struct GdiObjectDeleter {
    void operator()(HGDIOBJ object) const { DeleteObject(object); }
};
struct MemoryDcDeleter {
    void operator()(HDC dc) const { DeleteDC(dc); }
};
using FontHandle = std::unique_ptr<std::remove_pointer_t<HFONT>, GdiObjectDeleter>;
using BitmapHandle = std::unique_ptr<std::remove_pointer_t<HBITMAP>, GdiObjectDeleter>;
using MemoryDc = std::unique_ptr<std::remove_pointer_t<HDC>, MemoryDcDeleter>;

// A device context of the screen's kind that draws into memory.
MemoryDc MakeMemoryDc();

// A bitmap of 32-bit pixels, top row first, that GDI draws into and whose pixels we read and
// write as well (after GdiFlush, which hands over what GDI has batched). Empty when it could not
// be made.
class Dib {
  public:
    Dib() = default;
    Dib(int width, int height);

    HBITMAP Handle() const { return handle_.get(); }
    int Width() const { return width_; }
    int Height() const { return height_; }
    bool Empty() const { return handle_ == nullptr; }
    PixelsIn In() const { return {bits_, width_, height_, width_}; }
    PixelsOut Out() { return {bits_, width_, height_, width_}; }

  private:
    BitmapHandle handle_;
    std::uint32_t* bits_ = nullptr;
    int width_ = 0;
    int height_ = 0;
};

}  // namespace kelvane
