// SPDX-FileCopyrightText: 2026 The Kelvane developers
// SPDX-License-Identifier: MIT

#include "drawing/gdi/png_resources.h"

#include <algorithm>

using Microsoft::WRL::ComPtr;

namespace kelvane {

PngResources::PngResources() {
    // A thread of another apartment already has COM, and can make the factory as it is.
    comStarted_ = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
    CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                     IID_PPV_ARGS(&factory_));
}

PngResources::~PngResources() {
    factory_.Reset();
    if (comStarted_) {
        CoUninitialize();
    }
}

Dib PngResources::Load(const std::string& name) const {
    const std::wstring wideName(name.begin(), name.end());
    const HMODULE module = GetModuleHandleW(nullptr);
    const HRSRC found = FindResourceW(module, wideName.c_str(), RT_RCDATA);
    const HGLOBAL loaded = found != nullptr ? LoadResource(module, found) : nullptr;
    auto* bytes = static_cast<BYTE*>(loaded != nullptr ? LockResource(loaded) : nullptr);
    ComPtr<IWICStream> stream;
    ComPtr<IWICBitmapDecoder> decoder;
    ComPtr<IWICBitmapFrameDecode> frame;
    ComPtr<IWICBitmapSource> converted;
    UINT width = 0;
    UINT height = 0;
    if (bytes == nullptr || factory_ == nullptr || FAILED(factory_->CreateStream(&stream)) ||
        FAILED(stream->InitializeFromMemory(bytes, SizeofResource(module, found))) ||
        FAILED(factory_->CreateDecoderFromStream(stream.Get(), nullptr,
                                                 WICDecodeMetadataCacheOnDemand, &decoder)) ||
        FAILED(decoder->GetFrame(0, &frame)) ||
        FAILED(WICConvertBitmapSource(GUID_WICPixelFormat32bppPBGRA, frame.Get(), &converted)) ||
        FAILED(converted->GetSize(&width, &height))) {
        return {};
    }
    Dib pixels(static_cast<int>(width), static_cast<int>(height));
    const PixelsOut out = pixels.Out();
    const UINT stride = width * 4;
    if (pixels.Empty() || FAILED(converted->CopyPixels(nullptr, stride, stride * height,
                                                       reinterpret_cast<BYTE*>(out.pixels)))) {
        return {};
    }
    return pixels;
}

bool AllOpaque(const PixelsIn& pixels) {
    for (int y = 0; y < pixels.height; ++y) {
        const std::uint32_t* row = pixels.Row(y);
        if (std::any_of(row, row + pixels.width, [](std::uint32_t p) { return p >> 24 != 0xff; })) {
            return false;
        }
    }
    return true;
}

}  // namespace kelvane
