// SPDX-FileCopyrightText: 2026 The Kelvane developers
// SPDX-License-Identifier: MIT

#include "hosts/win32/win32_window.h"

#include <commctrl.h>
#include <windowsx.h>

#include <cmath>
#include <utility>

#include "gauge/words.h"
#include "hosts/win32/single_instance.h"
#include "hosts/win32/win32_screens.h"
#include "platform/windows/wide_text.h"
#include "rules/window_layout.h"

namespace kelvane {
namespace {

// Posted so that every monitor is up to date by the time the gauge asks.
constexpr UINT kScreensChanged = WM_APP + 1;

MouseButtons ButtonsOf(WPARAM w) {
    return ((w & MK_LBUTTON) != 0 ? kLeftButton : kNoButton) |
           ((w & MK_RBUTTON) != 0 ? kRightButton : kNoButton) |
           ((w & MK_MBUTTON) != 0 ? kMiddleButton : kNoButton);
}

HICON GaugeIcon() {
    return static_cast<HICON>(::LoadImageW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(1),
                                           IMAGE_ICON, 0, 0, LR_DEFAULTSIZE | LR_SHARED));
}

double RatioOf(UINT dpi) {
    return dpi == 0 ? 1.0 : static_cast<double>(dpi) / USER_DEFAULT_SCREEN_DPI;
}

}  // namespace

Win32Window::Win32Window(FrmMain& gauge, TickLoop& loop, std::wstring answer)
    : gauge_(gauge),
      loop_(loop),
      answer_(std::move(answer)),
      adapter_(gauge),
      keys_(adapter_),
      icon_(GaugeIcon()),
      help_(icon_) {
    const HINSTANCE instance = ::GetModuleHandleW(nullptr);
    WNDCLASSEXW type{};
    type.cbSize = sizeof type;
    type.style = CS_DBLCLKS;
    type.lpfnWndProc = Procedure;
    type.hInstance = instance;
    type.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    type.hIcon = icon_;
    type.lpszClassName = kGaugeWindowClass;
    ::RegisterClassExW(&type);

    // A popup has no frame; the system menu and the minimise box give it what a taskbar button
    // offers (minimise, restore, close), and WS_EX_APPWINDOW the button itself and Alt+Tab.
    constexpr DWORD kStyle = WS_POPUP | WS_SYSMENU | WS_MINIMIZEBOX;
    constexpr DWORD kExStyle = WS_EX_APPWINDOW | WS_EX_TOPMOST;
    const std::wstring caption = Wide(kWindowCaption);
    window_ = ::CreateWindowExW(kExStyle, kGaugeWindowClass, caption.c_str(), kStyle, 0, 0,
                                TwipsToPixels(kDesignWidthTwips), TwipsToPixels(kDesignHeightTwips),
                                nullptr, nullptr, instance, this);
    if (window_ == nullptr) {
        return;
    }
    ratio_ = RatioOf(::GetDpiForWindow(window_));
    gdi_ = std::make_unique<GdiDrawing>(gauge_.controls(), ratio_);
    gauge_.OnRepaint([this](const Rect& rect) {
        if (collecting_ && !rect.IsEmpty()) {
            changed_.push_back(gdi_->ToDevice(rect));
        } else {
            InvalidateLogical(rect);
        }
    });
    changes_ = ::CreateRectRgn(0, 0, 0, 0);
    change_ = ::CreateRectRgn(0, 0, 0, 0);
    AddToolTips();
    gauge_.AttachHost(*this);
}

Win32Window::~Win32Window() {
    gauge_.OnRepaint(nullptr);
    ::DeleteObject(changes_);
    ::DeleteObject(change_);
    if (window_ != nullptr) {
        ::DestroyWindow(window_);
    }
}

PointF Win32Window::ToLogical(LPARAM clientPoint) const {
    return {GET_X_LPARAM(clientPoint) / ratio_, GET_Y_LPARAM(clientPoint) / ratio_};
}

RECT Win32Window::OnScreen(const Rect& logical) const {
    RECT device = gdi_->ToDevice(logical);
    POINT corner{0, 0};
    ::ClientToScreen(window_, &corner);
    ::OffsetRect(&device, corner.x, corner.y);
    return device;
}

PointF Win32Window::FromScreen(POINT screen) const {
    ::ScreenToClient(window_, &screen);
    return {screen.x / ratio_, screen.y / ratio_};
}

void Win32Window::FocusOn(int focus) {
    InvalidateLogical(keys_.Where(keys_.Current()));
    keys_.MoveTo(focus);
    InvalidateLogical(keys_.Where(focus));
    if (keyFocusMoved_) {
        keyFocusMoved_();
    }
}

// What a tick changed is drawn at once, onto the window. Asked for as a repaint it would come
// back as WM_PAINT, and its BeginPaint and EndPaint (the update region fetched, the caret
// hidden and shown) are calls on the window system, under Wine each a round trip to its
// server. While the keyboard's place is drawn, an inverted frame that only a whole repaint
// draws right, the tick's changes are asked for as one repaint, as are those that find no
// device context: one request, where a tick that changes every caption changes a dozen places.
void Win32Window::PresentChanges() {
    collecting_ = false;
    if (window_ == nullptr || changed_.empty()) {
        changed_.clear();
        return;
    }
    const HDC dc = keys_.Shown() ? nullptr : ::GetDC(window_);
    if (dc != nullptr) {
        for (const RECT& rect : changed_) {
            gdi_->Paint(dc, rect);
        }
        ::ReleaseDC(window_, dc);
    } else if (changes_ == nullptr || change_ == nullptr) {
        for (const RECT& rect : changed_) {
            ::InvalidateRect(window_, &rect, FALSE);
        }
    } else {
        ::SetRectRgn(changes_, 0, 0, 0, 0);
        for (const RECT& rect : changed_) {
            ::SetRectRgn(change_, rect.left, rect.top, rect.right, rect.bottom);
            ::CombineRgn(changes_, changes_, change_, RGN_OR);
        }
        ::InvalidateRgn(window_, changes_, FALSE);
    }
    changed_.clear();
}

void Win32Window::InvalidateLogical(const Rect& logical) {
    if (window_ != nullptr && !logical.IsEmpty()) {
        const RECT device = gdi_->ToDevice(logical);
        ::InvalidateRect(window_, &device, FALSE);
    }
}

// The window as the gauge places it, through its monitor's scale: above all windows that are not
// themselves topmost, shown, not activated.
void Win32Window::SetWindowPos(const Rect& rect) {
    const Rect device = kelvane::ToDevice(Monitors(), rect);
    ::SetWindowPos(window_, HWND_TOPMOST, device.x, device.y, device.width, device.height,
                   SWP_NOACTIVATE | SWP_SHOWWINDOW);
}

void Win32Window::ShowWindow() {
    if (!::IsWindowVisible(window_)) {
        ::SetWindowPos(window_, HWND_TOPMOST, 0, 0, 0, 0,
                       SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    }
}

void Win32Window::Move(Point topLeft) {
    const Point device = kelvane::ToDevice(Monitors(), PointF(topLeft));
    ::SetWindowPos(window_, nullptr, device.x, device.y, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Win32Window::BringToFront() {
    if (::IsIconic(window_)) {
        ::ShowWindow(window_, SW_RESTORE);
    }
    ::SetWindowPos(window_, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
    ::SetForegroundWindow(window_);
}

void Win32Window::ShowHelp() {
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    ::GetMonitorInfoW(::MonitorFromWindow(window_, MONITOR_DEFAULTTOPRIMARY), &monitor);
    const RECT& r = monitor.rcMonitor;
    if (helpPictures_ == nullptr) {
        helpPictures_ =
            std::make_unique<GdiArtwork>(std::vector<std::string>{"helpicon", "icon"}, ratio_);
    } else {
        helpPictures_->SetRatio(ratio_);
    }
    help_.Show({r.left, r.top, r.right - r.left, r.bottom - r.top}, ratio_, helpPictures_->At(0),
               helpPictures_->At(1));
}

// The gauge saves, then the help window closes, then the main window goes: once, whoever asks
// first (the close button, Alt+F4, the taskbar, the session's end).
void Win32Window::UnloadAll() {
    if (std::exchange(unloading_, true)) {
        return;
    }
    gauge_.Form_Unload();
    help_.Close();
    if (window_ != nullptr) {
        ::DestroyWindow(window_);
    }
    if (unloaded_) {
        unloaded_();
    }
}

void Win32Window::ReportPlace() {
    RECT r{};
    if (::IsIconic(window_) || !::GetWindowRect(window_, &r)) {
        return;
    }
    gauge_.WindowMoved(
        kelvane::ToLogical(Monitors(), Rect{r.left, r.top, r.right - r.left, r.bottom - r.top}));
}

// Dragged onto a monitor of another scale: the window keeps its logical size, drawn anew.
void Win32Window::DpiChanged(UINT dpi, const RECT& suggested) {
    ratio_ = RatioOf(dpi);
    gdi_->SetRatio(ratio_);
    const RECT device = gdi_->ToDevice(Rect{{}, gauge_.WindowPlace().GetSize()});
    ::SetWindowPos(window_, nullptr, suggested.left, suggested.top, device.right, device.bottom,
                   SWP_NOZORDER | SWP_NOACTIVATE);
    AddToolTips();
    ::InvalidateRect(window_, nullptr, FALSE);
}

// One tool per panel's strip, whose text is asked for when it shows, so that it names the
// panel's reading as it is then.
void Win32Window::AddToolTips() {
    if (toolTips_ == nullptr) {
        toolTips_ = ::CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                                      WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP, CW_USEDEFAULT,
                                      CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, window_, nullptr,
                                      ::GetModuleHandleW(nullptr), nullptr);
        // Lines of their own stay lines: a mount point may be long.
        ::SendMessageW(toolTips_, TTM_SETMAXTIPWIDTH, 0, 600);
    }
    for (int panel = 0; panel < kPanels; ++panel) {
        TTTOOLINFOW tool{};
        tool.cbSize = sizeof tool;
        tool.uFlags = TTF_SUBCLASS;
        tool.hwnd = window_;
        tool.uId = static_cast<UINT_PTR>(panel);
        tool.rect = gdi_->ToDevice(PanelStrip(panel));
        tool.lpszText = LPSTR_TEXTCALLBACKW;
        ::SendMessageW(toolTips_, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
        ::SendMessageW(toolTips_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    }
}

void Win32Window::ToolTipText(NMTTDISPINFOW& info) {
    const int panel = static_cast<int>(info.hdr.idFrom);
    toolTip_ = panel >= 0 && panel < gauge_.PanelsShown()
                   ? Wide(DescribePanel(gauge_.Shown(panel)).description)
                   : std::wstring();
    info.lpszText = toolTip_.data();
}

void Win32Window::Paint() {
    PAINTSTRUCT paint;
    const HDC dc = ::BeginPaint(window_, &paint);
    if (dc == nullptr) {
        return;
    }
    gdi_->Paint(dc, paint.rcPaint);
    // The keyboard's place, once Tab has been used, as Windows marks it.
    if (keys_.Shown() && ::GetFocus() == window_) {
        const RECT part = gdi_->ToDevice(keys_.Where(keys_.Current()));
        ::DrawFocusRect(dc, &part);
    }
    ::EndPaint(window_, &paint);
}

void Win32Window::Acted() {
    if (acted_) {
        acted_();
    }
}

// A press goes to the gauge with the mouse held for the window (a drag of the logo moves the
// window under it); the release, wherever it is, ends the press. Windows under Wine may take
// the mouse away in the middle of a drag with the button still down: a move with no button
// held ends the press there.
void Win32Window::Mouse(UINT message, WPARAM w, LPARAM l) {
    const PointF at = ToLogical(l);
    switch (message) {
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
        case WM_MBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
        case WM_RBUTTONDBLCLK:
        case WM_MBUTTONDBLCLK: {
            if (keys_.Shown()) {
                keys_.Show(false);
                InvalidateLogical(keys_.Where(keys_.Current()));
            }
            buttonDown_ = true;
            ::SetCapture(window_);
            const bool twice = message == WM_LBUTTONDBLCLK || message == WM_RBUTTONDBLCLK ||
                               message == WM_MBUTTONDBLCLK;
            gauge_.MouseDown(at, twice);
            break;
        }
        case WM_MOUSEMOVE: {
            const MouseButtons held = ButtonsOf(w);
            if (buttonDown_ && held == kNoButton) {
                buttonDown_ = false;
                gauge_.MouseUp(at, kNoButton);
                Acted();
                break;
            }
            const DWORD pos = ::GetMessagePos();
            const PointF screen =
                kelvane::ToLogical(Monitors(), Point{GET_X_LPARAM(pos), GET_Y_LPARAM(pos)});
            gauge_.MouseMove(screen, held);
            break;
        }
        default: {  // a release
            const MouseButtons held = ButtonsOf(w);
            buttonDown_ = held != kNoButton;
            if (!buttonDown_) {
                ::ReleaseCapture();
            }
            const int clicked = keys_.PartAt(at.Rounded());
            gauge_.MouseUp(at, held);
            if (clicked >= 0 && window_ != nullptr) {
                FocusOn(clicked);
            }
            Acted();
            break;
        }
    }
}

// F1 for help, F2 to F12 for the arrangements (F10 comes as a system key), Tab and Shift+Tab
// walk the parts, Space and Return press the one the keyboard is on. With Alt, a key is the
// system's (Alt+F4 closes the window).
bool Win32Window::Key(WPARAM key, LPARAM l, bool system) {
    const bool alt = (HIWORD(l) & KF_ALTDOWN) != 0;
    if (key >= VK_F1 && key <= VK_F12 && !alt) {
        gauge_.Form_KeyDown(FKey(static_cast<int>(key - VK_F1) + 1));
        Acted();
        return true;
    }
    if (system) {
        return false;
    }
    if (key == VK_TAB) {
        InvalidateLogical(keys_.Where(keys_.Current()));
        keys_.Step((::GetKeyState(VK_SHIFT) & 0x8000) == 0);
        InvalidateLogical(keys_.Where(keys_.Current()));
        if (keyFocusMoved_) {
            keyFocusMoved_();
        }
        return true;
    }
    if ((key == VK_SPACE || key == VK_RETURN) && keys_.Current() >= 0) {
        keys_.PressCurrent();
        Acted();
        return true;
    }
    return false;
}

LRESULT CALLBACK Win32Window::Procedure(HWND window, UINT message, WPARAM w, LPARAM l) {
    if (message == WM_NCCREATE) {
        auto* self = static_cast<Win32Window*>(reinterpret_cast<CREATESTRUCTW*>(l)->lpCreateParams);
        ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        self->window_ = window;
    }
    auto* self = reinterpret_cast<Win32Window*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
    return self != nullptr ? self->Handle(message, w, l) : ::DefWindowProcW(window, message, w, l);
}

LRESULT Win32Window::Handle(UINT message, WPARAM w, LPARAM l) {
    const HWND window = window_;
    LRESULT taken = 0;
    if (hook_ && hook_(message, w, l, taken)) {
        return taken;
    }
    switch (message) {
        case WM_PAINT:
            Paint();
            return 0;
        case WM_ERASEBKGND:
            return 1;  // the drawing paints the white ground itself
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
        case WM_MBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
        case WM_RBUTTONDBLCLK:
        case WM_MBUTTONDBLCLK:
        case WM_MOUSEMOVE:
        case WM_LBUTTONUP:
        case WM_RBUTTONUP:
        case WM_MBUTTONUP:
            Mouse(message, w, l);
            return 0;
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN:
            if (Key(w, l, message == WM_SYSKEYDOWN)) {
                return 0;
            }
            break;
        case WM_SETFOCUS:
        case WM_KILLFOCUS:
            InvalidateLogical(keys_.Where(keys_.Current()));
            break;
        case WM_WINDOWPOSCHANGED:
            ReportPlace();
            return 0;
        case WM_DPICHANGED:
            DpiChanged(HIWORD(w), *reinterpret_cast<const RECT*>(l));
            return 0;
        case WM_DISPLAYCHANGE:
            ::PostMessageW(window, kScreensChanged, 0, 0);
            break;
        case kScreensChanged:
            gauge_.ScreensChanged();
            return 0;
        case WM_COPYDATA:
            if (IsComeBackCall(*reinterpret_cast<const COPYDATASTRUCT*>(l), answer_)) {
                gauge_.ComeBack();
                return TRUE;
            }
            return FALSE;
        case WM_NOTIFY:
            if (reinterpret_cast<const NMHDR*>(l)->code == TTN_GETDISPINFOW) {
                ToolTipText(*reinterpret_cast<NMTTDISPINFOW*>(l));
                return 0;
            }
            break;
        // Windows' own modal loops (the system menu from Alt+Space) hold the message loop: a
        // window timer keeps the refresh going meanwhile.
        case WM_ENTERMENULOOP:
        case WM_ENTERSIZEMOVE:
            loop_.ModalLoopBegins(window);
            break;
        case WM_EXITMENULOOP:
        case WM_EXITSIZEMOVE:
            loop_.ModalLoopEnds(window);
            break;
        case WM_TIMER:
            if (w == TickLoop::kModalTimer) {
                loop_.Tick();
                return 0;
            }
            break;
        case WM_CLOSE:
            UnloadAll();
            return 0;
        // The session ends: what is saved is written before Windows ends the program.
        case WM_ENDSESSION:
            if (w != FALSE) {
                UnloadAll();
                gauge_.FlushSettings();
            }
            return 0;
        // Destroyed by another program, the window is unloaded as if closed.
        case WM_DESTROY:
            ::SetWindowLongPtrW(window, GWLP_USERDATA, 0);
            window_ = nullptr;
            toolTips_ = nullptr;  // owned by the window, destroyed with it
            UnloadAll();
            return 0;
        default:
            break;
    }
    return ::DefWindowProcW(window, message, w, l);
}

}  // namespace kelvane
