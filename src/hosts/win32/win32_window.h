// SPDX-FileCopyrightText: 2026 The Kelvane developers
// SPDX-License-Identifier: MIT

#pragma once

#include <windows.h>
// Each of these needs windows.h first.
#include <commctrl.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/window_host.h"
#include "drawing/gdi/gdi_artwork.h"
#include "drawing/gdi/gdi_drawing.h"
#include "gauge/frm_main.h"
#include "gauge/gauge_adapter.h"
#include "gauge/key_focus.h"
#include "hosts/win32/help_window.h"
#include "hosts/win32/tick_loop.h"

namespace kelvane {

// The main window on Windows: a borderless window, kept above the others, with a taskbar button
// and an Alt+Tab entry, that shows the gauge's drawing through GDI, repainting only what
// changed, and hands the mouse and the keys to the gauge. It is the gauge's window host, and
// loads the help window. It counts in the gauge's logical pixels and shows them at the scale of
// the monitor it is on.
class Win32Window final : public WindowHost {
  public:
    // `answer` is what a later start of the same user's gauge sends (see single_instance).
    Win32Window(FrmMain& gauge, TickLoop& loop, std::wstring answer);
    ~Win32Window() override;
    Win32Window(const Win32Window&) = delete;
    Win32Window& operator=(const Win32Window&) = delete;

    // False where no window could be made.
    bool Made() const { return window_ != nullptr; }
    HWND Handle() const { return window_; }
    // The help window's keys, before the message loop dispatches them.
    bool TakeKey(MSG& msg) { return help_.TakeKey(msg); }
    // Whoever closes the window calls this once the gauge has been unloaded.
    void OnUnloaded(std::function<void()> unloaded) { unloaded_ = std::move(unloaded); }
    // A hook for screen readers: every message before the window handles it; true when taken.
    void OnMessage(std::function<bool(UINT, WPARAM, LPARAM, LRESULT&)> hook) {
        hook_ = std::move(hook);
    }
    // Called when a key, a click or a press may have changed what the window shows, and when
    // Tab moved the keyboard.
    void OnActed(std::function<void()> acted) { acted_ = std::move(acted); }
    void OnKeyFocusMoved(std::function<void()> moved) { keyFocusMoved_ = std::move(moved); }
    const kelvane::KeyFocus& Keys() const { return keys_; }
    // Where `logical` pixels of the window are on the screen, in the screen's own pixels.
    RECT OnScreen(const Rect& logical) const;
    // The part of the window at a point of the screen, in the window's logical pixels.
    PointF FromScreen(POINT screen) const;
    // The keyboard goes to the part `focus` (KeyFocus), as to a button that is pressed.
    void FocusOn(int focus);
    // Tells the hook of OnActed that what the window shows may have changed.
    void Acted();

    // Around each tick: what the gauge changes meanwhile is drawn at its end, at once.
    void CollectChanges() { collecting_ = true; }
    void PresentChanges();

    // Shows the window where loading it has not shown it already (a size code outside the
    // table leaves it where it was designed).
    void ShowWindow();

    bool PositionKnown() const override { return true; }
    void SetWindowPos(const Rect& rect) override;
    void Move(Point topLeft) override;
    void BringToFront() override;
    void ShowHelp() override;
    void UnloadAll() override;

  private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM w, LPARAM l);
    LRESULT Handle(UINT message, WPARAM w, LPARAM l);
    void Paint();
    void Mouse(UINT message, WPARAM w, LPARAM l);
    bool Key(WPARAM key, LPARAM l, bool system);
    void ReportPlace();
    void DpiChanged(UINT dpi, const RECT& suggested);
    void AddToolTips();
    void ToolTipText(NMTTDISPINFOW& info);
    // A point of the window's client area in the gauge's logical pixels.
    PointF ToLogical(LPARAM clientPoint) const;
    void InvalidateLogical(const Rect& logical);

    FrmMain& gauge_;
    TickLoop& loop_;
    std::wstring answer_;
    GaugeAdapter adapter_;
    kelvane::KeyFocus keys_;
    std::unique_ptr<GdiDrawing> gdi_;
    // The help window's two pictures, at the ratio of the gauge's window when it opened.
    std::unique_ptr<GdiArtwork> helpPictures_;
    HICON icon_ = nullptr;
    HelpWindow help_;
    HWND window_ = nullptr;
    HWND toolTips_ = nullptr;
    // What the gauge changed since the last presentation, in device pixels, and two regions
    // kept to join them in.
    std::vector<RECT> changed_;
    HRGN changes_ = nullptr;
    HRGN change_ = nullptr;
    bool collecting_ = false;
    std::wstring toolTip_;
    double ratio_ = 1.0;
    bool unloading_ = false;
    bool buttonDown_ = false;
    std::function<void()> unloaded_;
    std::function<void()> acted_;
    std::function<void()> keyFocusMoved_;
    std::function<bool(UINT, WPARAM, LPARAM, LRESULT&)> hook_;
};

}  // namespace kelvane
