// SPDX-FileCopyrightText: 2026 The Kelvane developers
// SPDX-License-Identifier: MIT

#include "hosts/win32/help_window.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "gauge/help_text.h"
#include "platform/windows/wide_text.h"
#include "rules/window_layout.h"

namespace kelvane {
namespace {

constexpr wchar_t kClass[] = L"KelvaneHelp";
constexpr int kTextId = 100;
constexpr COLORREF kTextColour = RGB(0, 255, 0);
constexpr COLORREF kGround = RGB(0, 128, 0);

// The help text's line breaks as an edit control needs them: the lone line feed it opens with
// is a break too.
std::wstring EditText() {
    const std::wstring text = Wide(HelpText());
    std::wstring lines;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == L'\n' && (i == 0 || text[i - 1] != L'\r')) {
            lines += L'\r';
        }
        lines += text[i];
    }
    return lines;
}

int Scaled(int twips, double ratio) {
    return static_cast<int>(std::lround(twips / kTwipsPerPixel * ratio));
}

HWND Child(HWND parent, const wchar_t* kind, const wchar_t* text, DWORD style, int left, int top,
           int width, int height, double ratio, int id = 0) {
    return ::CreateWindowExW(0, kind, text, WS_CHILD | WS_VISIBLE | style, Scaled(left, ratio),
                             Scaled(top, ratio), Scaled(width, ratio), Scaled(height, ratio),
                             parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                             ::GetModuleHandleW(nullptr), nullptr);
}

HFONT MessageFont(double ratio) {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    const UINT dpi = static_cast<UINT>(std::lround(USER_DEFAULT_SCREEN_DPI * ratio));
    if (!::SystemParametersInfoForDpi(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0, dpi)) {
        return static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
    }
    return ::CreateFontIndirectW(&metrics.lfMessageFont);
}

// The key table's actions start at one tab stop, a gap beyond its widest key in the text's font,
// in the dialog units an edit control counts tab stops in.
int TabStop(HWND edit, HFONT font, const std::wstring& text) {
    const HDC dc = ::GetDC(edit);
    const HGDIOBJ old = ::SelectObject(dc, font);
    int keys = 0;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = std::min(text.find(L'\n', start), text.size());
        const std::size_t tab = text.find(L'\t', start);
        if (tab < end) {
            SIZE size{};
            ::GetTextExtentPoint32W(dc, text.data() + start, static_cast<int>(tab - start), &size);
            keys = std::max(keys, static_cast<int>(size.cx));
        }
        start = end + 1;
    }
    SIZE gap{};
    ::GetTextExtentPoint32W(dc, L"    ", 4, &gap);
    TEXTMETRICW metrics{};
    ::GetTextMetricsW(dc, &metrics);
    ::SelectObject(dc, old);
    ::ReleaseDC(edit, dc);
    const int average = std::max(1, static_cast<int>(LOWORD(::GetDialogBaseUnits())));
    return (keys + gap.cx) * 4 / average;
}

// A picture's see-through parts show the window's own ground: a static control copies its bitmap
// as it is.
Dib OnGround(const Dib& picture) {
    Dib shown(picture.Width(), picture.Height());
    if (shown.Empty() || picture.Empty()) {
        return shown;
    }
    const MemoryDc to = MakeMemoryDc();
    const MemoryDc from = MakeMemoryDc();
    const HGDIOBJ oldTo = ::SelectObject(to.get(), shown.Handle());
    const HGDIOBJ oldFrom = ::SelectObject(from.get(), picture.Handle());
    const RECT all{0, 0, picture.Width(), picture.Height()};
    ::FillRect(to.get(), &all, ::GetSysColorBrush(COLOR_BTNFACE));
    const BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    ::AlphaBlend(to.get(), 0, 0, picture.Width(), picture.Height(), from.get(), 0, 0,
                 picture.Width(), picture.Height(), blend);
    ::SelectObject(from.get(), oldFrom);
    ::SelectObject(to.get(), oldTo);
    return shown;
}

}  // namespace

HelpWindow::HelpWindow(HICON windowIcon) : windowIcon_(windowIcon) {
    WNDCLASSEXW type{};
    type.cbSize = sizeof type;
    type.lpfnWndProc = Procedure;
    type.hInstance = ::GetModuleHandleW(nullptr);
    type.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    type.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    type.hIcon = windowIcon_;
    type.lpszClassName = kClass;
    ::RegisterClassExW(&type);
    green_ = ::CreateSolidBrush(kGround);
}

HelpWindow::~HelpWindow() {
    Close();
    ::DeleteObject(green_);
}

void HelpWindow::Show(const Rect& screen, double ratio, const Dib& helpIcon, const Dib& icon) {
    if (window_ == nullptr) {
        Make(screen, ratio, helpIcon, icon);
    }
    if (window_ == nullptr) {
        return;
    }
    ::ShowWindow(window_, ::IsIconic(window_) ? SW_RESTORE : SW_SHOW);
    ::SetWindowPos(window_, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
    ::SetForegroundWindow(window_);
}

void HelpWindow::Close() {
    if (window_ != nullptr) {
        ::DestroyWindow(window_);
    }
}

bool HelpWindow::TakeKey(MSG& msg) {
    if (window_ == nullptr || (msg.hwnd != window_ && !::IsChild(window_, msg.hwnd))) {
        return false;
    }
    if (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE) {
        Close();
        return true;
    }
    return ::IsDialogMessageW(window_, &msg) != 0;
}

void HelpWindow::Make(const Rect& screen, double ratio, const Dib& helpIcon, const Dib& icon) {
    constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU;
    constexpr DWORD kExStyle = WS_EX_TOPMOST | WS_EX_DLGMODALFRAME;
    const UINT dpi = static_cast<UINT>(std::lround(USER_DEFAULT_SCREEN_DPI * ratio));
    RECT outer{0, 0, Scaled(5190, ratio), Scaled(3780, ratio)};
    ::AdjustWindowRectExForDpi(&outer, kStyle, FALSE, kExStyle, dpi);
    const int width = outer.right - outer.left;
    const int height = outer.bottom - outer.top;
    window_ =
        ::CreateWindowExW(kExStyle, kClass, L"Help", kStyle, screen.x + (screen.width - width) / 2,
                          screen.y + (screen.height - height) / 2, width, height, nullptr, nullptr,
                          ::GetModuleHandleW(nullptr), this);
    if (window_ == nullptr) {
        return;
    }
    font_ = MessageFont(ratio);
    textFont_ =
        ::CreateFontW(-std::max(1, static_cast<int>(std::lround(9 * ratio))), 0, 0, 0, FW_NORMAL,
                      FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                      DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, L"MS Shell Dlg 2");
    // The frame first, clipped by what lies on it: the small icon covers the blanks its caption
    // opens with.
    const HWND frame = Child(window_, L"BUTTON", L"           Kelvane Quick Help",
                             BS_GROUPBOX | WS_CLIPSIBLINGS, 0, 30, 5175, 3255, ratio);
    const std::wstring text = EditText();
    const HWND edit = Child(window_, L"EDIT", text.c_str(),
                            ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL | WS_VSCROLL | WS_TABSTOP,
                            90, 30 + 360, 4965, 2820, ratio, kTextId);
    ::SetWindowTextW(edit, text.c_str());
    const HWND helpPicture =
        Child(window_, L"STATIC", nullptr, SS_BITMAP, 150, 30, 375, 330, ratio);
    const HWND picture = Child(window_, L"STATIC", nullptr, SS_BITMAP, 210, 3300, 480, 480, ratio);
    const HWND close = Child(window_, L"BUTTON", L"&Close", BS_DEFPUSHBUTTON | WS_TABSTOP, 3795,
                             3420, 975, 300, ratio, IDCANCEL);
    helpIcon_ = OnGround(helpIcon);
    icon_ = OnGround(icon);
    ::SendMessageW(helpPicture, STM_SETIMAGE, IMAGE_BITMAP,
                   reinterpret_cast<LPARAM>(helpIcon_.Handle()));
    ::SendMessageW(picture, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(icon_.Handle()));
    for (const HWND control : {frame, close}) {
        ::SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
    }
    ::SendMessageW(edit, WM_SETFONT, reinterpret_cast<WPARAM>(textFont_), FALSE);
    const int stop = TabStop(edit, textFont_, text);
    ::SendMessageW(edit, EM_SETTABSTOPS, 1, reinterpret_cast<LPARAM>(&stop));
    ::SetWindowPos(helpPicture, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    ::SetFocus(close);
}

LRESULT CALLBACK HelpWindow::Procedure(HWND window, UINT message, WPARAM w, LPARAM l) {
    if (message == WM_NCCREATE) {
        auto* self = static_cast<HelpWindow*>(reinterpret_cast<CREATESTRUCTW*>(l)->lpCreateParams);
        ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        self->window_ = window;
    }
    auto* self = reinterpret_cast<HelpWindow*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
    return self != nullptr ? self->Handle(message, w, l) : ::DefWindowProcW(window, message, w, l);
}

LRESULT HelpWindow::Handle(UINT message, WPARAM w, LPARAM l) {
    const HWND window = window_;
    switch (message) {
        // The button, Escape (which the dialog keys turn into the cancel command) and the cross.
        case WM_COMMAND:
            if (LOWORD(w) == IDCANCEL) {
                ::DestroyWindow(window);
            }
            return 0;
        case WM_CLOSE:
            ::DestroyWindow(window);
            return 0;
        case WM_CTLCOLORSTATIC:
            if (::GetDlgCtrlID(reinterpret_cast<HWND>(l)) == kTextId) {
                const auto dc = reinterpret_cast<HDC>(w);
                ::SetTextColor(dc, kTextColour);
                ::SetBkColor(dc, kGround);
                return reinterpret_cast<LRESULT>(green_);
            }
            break;
        case WM_DESTROY:
            ::SetWindowLongPtrW(window, GWLP_USERDATA, 0);
            window_ = nullptr;
            ::DeleteObject(textFont_);
            if (font_ != ::GetStockObject(DEFAULT_GUI_FONT)) {
                ::DeleteObject(font_);
            }
            textFont_ = font_ = nullptr;
            return 0;
        default:
            break;
    }
    return ::DefWindowProcW(window, message, w, l);
}

}  // namespace kelvane
