// SPDX-FileCopyrightText: 2026 The Kelvane developers
// SPDX-License-Identifier: MIT

#include "accessibility/msaa/msaa_gauge.h"

#include <oleacc.h>

#include <string>

#include "gauge/frm_main.h"
#include "gauge/words.h"
#include "hosts/win32/win32_window.h"
#include "platform/windows/wide_text.h"

namespace kelvane {

namespace {

// The interface's identifier is taken from its declaration: the import library of oleacc.dll
// names IID_IAccessible too, as a function, which a link may pick in place of the data.

// The window's own messages and timers, apart from the host's.
constexpr UINT kPressChild = WM_APP + 0x41;
constexpr UINT_PTR kRoundTimer = 0x4B41;
constexpr UINT_PTR kSettleTimer = 0x4B42;
// Rounds a whole second apart; what a key did is told once the refresh has shown it.
constexpr UINT kRoundMs = 1000;
constexpr UINT kSettleMs = 100;

constexpr LONG kFirstPanel = kGaugeButtons + 1;

BSTR Text(std::string_view utf8) {
    const std::wstring wide = Wide(utf8);
    return ::SysAllocStringLen(wide.data(), static_cast<UINT>(wide.size()));
}

HRESULT Give(BSTR* out, std::string_view utf8) {
    if (out == nullptr) {
        return E_POINTER;
    }
    *out = Text(utf8);
    return *out != nullptr ? S_OK : E_OUTOFMEMORY;
}

HRESULT None(BSTR* out) {
    if (out == nullptr) {
        return E_POINTER;
    }
    *out = nullptr;
    return S_FALSE;
}

void Child(VARIANT* out, LONG child) {
    ::VariantInit(out);
    out->vt = VT_I4;
    out->lVal = child;
}

}  // namespace

// The client area's IAccessible. Its children are simple elements, known by number. It may
// outlive the gauge in a client's hands: from then on it answers that it is gone.
class GaugeAccessible final : public IAccessible {
  public:
    explicit GaugeAccessible(MsaaGauge& owner) : owner_(&owner) {}
    void Disconnect() { owner_ = nullptr; }

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** out) override {
        if (out == nullptr) {
            return E_POINTER;
        }
        if (id == IID_IUnknown || id == IID_IDispatch || id == __uuidof(IAccessible)) {
            *out = static_cast<IAccessible*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ::InterlockedIncrement(&references_); }
    ULONG STDMETHODCALLTYPE Release() override {
        const LONG left = ::InterlockedDecrement(&references_);
        if (left == 0) {
            delete this;
        }
        return static_cast<ULONG>(left);
    }

    // IDispatch: clients call the interface's methods directly.
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        if (count == nullptr) {
            return E_POINTER;
        }
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                     UINT*) override {
        return E_NOTIMPL;
    }

    // IAccessible
    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override {
        if (parent == nullptr) {
            return E_POINTER;
        }
        *parent = nullptr;
        if (owner_ == nullptr) {
            return CO_E_OBJNOTCONNECTED;
        }
        return ::AccessibleObjectFromWindow(owner_->Window().Handle(),
                                            static_cast<DWORD>(OBJID_WINDOW), IID_IDispatch,
                                            reinterpret_cast<void**>(parent));
    }
    HRESULT STDMETHODCALLTYPE get_accChildCount(LONG* count) override {
        if (count == nullptr) {
            return E_POINTER;
        }
        *count = 0;
        if (owner_ == nullptr) {
            return CO_E_OBJNOTCONNECTED;
        }
        *count = kGaugeButtons + owner_->Adapter().VisiblePanels();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** out) override {
        if (out == nullptr) {
            return E_POINTER;
        }
        *out = nullptr;
        return Known(child) ? S_FALSE : E_INVALIDARG;
    }
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
        const LONG id = IdOf(child);
        if (id == kSelf) {
            return Give(name, kGaugeName);
        }
        if (id == MsaaGauge::kAnnouncement) {
            return Give(name, Utf8(owner_->Announcement()).value_or(""));
        }
        if (IsButton(id)) {
            return Give(name, WordsOf(ButtonOf(id)).name);
        }
        return IsPanel(id) ? Give(name, Words(id).name) : Invalid(name);
    }
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override {
        const LONG id = IdOf(child);
        if (IsPanel(id)) {
            return Give(value, Words(id).figure);
        }
        return Known(child) ? None(value) : Invalid(value);
    }
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* description) override {
        const LONG id = IdOf(child);
        if (id == kSelf) {
            return Give(description, kGaugeDescription);
        }
        if (IsButton(id)) {
            return Give(description, WordsOf(ButtonOf(id)).description);
        }
        if (IsPanel(id)) {
            return Give(description, Words(id).description);
        }
        return Known(child) ? None(description) : Invalid(description);
    }
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override {
        if (role == nullptr) {
            return E_POINTER;
        }
        const LONG id = IdOf(child);
        if (!Known(child)) {
            ::VariantInit(role);
            return E_INVALIDARG;
        }
        Child(role, id == kSelf                      ? ROLE_SYSTEM_CLIENT
                    : id == MsaaGauge::kAnnouncement ? ROLE_SYSTEM_ALERT
                    : IsButton(id)                   ? ROLE_SYSTEM_PUSHBUTTON
                                                     : ROLE_SYSTEM_PROGRESSBAR);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override {
        if (state == nullptr) {
            return E_POINTER;
        }
        if (!Known(child)) {
            ::VariantInit(state);
            return E_INVALIDARG;
        }
        const LONG id = IdOf(child);
        const bool focused = ::GetFocus() == owner_->Window().Handle();
        LONG flags =
            id == MsaaGauge::kAnnouncement ? STATE_SYSTEM_READONLY : STATE_SYSTEM_FOCUSABLE;
        if (IsPanel(id)) {
            flags |= STATE_SYSTEM_READONLY;
        }
        if (focused && id == FocusedChild()) {
            flags |= STATE_SYSTEM_FOCUSED;
        }
        Child(state, flags);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT, BSTR* help) override { return None(help); }
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT, LONG* topic) override {
        if (topic != nullptr) {
            *topic = 0;
        }
        return None(file);
    }
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT, BSTR* keys) override {
        return None(keys);
    }
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* focus) override {
        if (focus == nullptr) {
            return E_POINTER;
        }
        ::VariantInit(focus);
        if (owner_ == nullptr) {
            return CO_E_OBJNOTCONNECTED;
        }
        if (::GetFocus() != owner_->Window().Handle()) {
            return S_FALSE;
        }
        Child(focus, FocusedChild());
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* selection) override {
        if (selection == nullptr) {
            return E_POINTER;
        }
        ::VariantInit(selection);
        return S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override {
        const LONG id = IdOf(child);
        if (IsButton(id)) {
            return Give(action, "Press");
        }
        if (IsPanel(id)) {
            return Give(action, "Next reading");
        }
        return Known(child) ? None(action) : Invalid(action);
    }
    HRESULT STDMETHODCALLTYPE accSelect(LONG flags, VARIANT child) override {
        const LONG id = IdOf(child);
        if (!IsButton(id) && !IsPanel(id)) {
            return Known(child) ? DISP_E_MEMBERNOTFOUND : E_INVALIDARG;
        }
        if ((flags & SELFLAG_TAKEFOCUS) == 0) {
            return DISP_E_MEMBERNOTFOUND;
        }
        ::SetFocus(owner_->Window().Handle());
        owner_->Window().FocusOn(id - 1);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE accLocation(LONG* x, LONG* y, LONG* width, LONG* height,
                                          VARIANT child) override {
        if (x == nullptr || y == nullptr || width == nullptr || height == nullptr) {
            return E_POINTER;
        }
        *x = *y = *width = *height = 0;
        const LONG id = IdOf(child);
        if (!Known(child) || id == MsaaGauge::kAnnouncement) {
            return Known(child) ? S_FALSE : E_INVALIDARG;
        }
        RECT place;
        if (id == kSelf) {
            ::GetClientRect(owner_->Window().Handle(), &place);
            ::MapWindowPoints(owner_->Window().Handle(), nullptr, reinterpret_cast<POINT*>(&place),
                              2);
        } else {
            place = owner_->Window().OnScreen(PartRect(id));
        }
        *x = place.left;
        *y = place.top;
        *width = place.right - place.left;
        *height = place.bottom - place.top;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE accNavigate(LONG direction, VARIANT start, VARIANT* end) override {
        if (end == nullptr) {
            return E_POINTER;
        }
        ::VariantInit(end);
        if (!Known(start)) {
            return E_INVALIDARG;
        }
        const LONG from = IdOf(start);
        const LONG last = kGaugeButtons + owner_->Adapter().VisiblePanels();
        LONG to = 0;
        if (from == kSelf) {
            to = direction == NAVDIR_FIRSTCHILD ? 1 : direction == NAVDIR_LASTCHILD ? last : 0;
        } else if (from != MsaaGauge::kAnnouncement) {
            const bool next =
                direction == NAVDIR_NEXT || direction == NAVDIR_DOWN || direction == NAVDIR_RIGHT;
            const bool previous =
                direction == NAVDIR_PREVIOUS || direction == NAVDIR_UP || direction == NAVDIR_LEFT;
            to = next ? from + 1 : previous ? from - 1 : 0;
        }
        if (to < 1 || to > last) {
            return S_FALSE;
        }
        Child(end, to);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE accHitTest(LONG x, LONG y, VARIANT* found) override {
        if (found == nullptr) {
            return E_POINTER;
        }
        ::VariantInit(found);
        if (owner_ == nullptr) {
            return CO_E_OBJNOTCONNECTED;
        }
        const POINT screen{x, y};
        if (::WindowFromPoint(screen) != owner_->Window().Handle()) {
            return S_FALSE;
        }
        const Point at = owner_->Window().FromScreen(screen).Rounded();
        const LONG last = kGaugeButtons + owner_->Adapter().VisiblePanels();
        LONG hit = kSelf;
        for (LONG id = 1; id <= last && hit == kSelf; ++id) {
            hit = PartRect(id).Contains(at) ? id : kSelf;
        }
        Child(found, hit);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override {
        const LONG id = IdOf(child);
        if (!IsButton(id) && !IsPanel(id)) {
            return Known(child) ? DISP_E_MEMBERNOTFOUND : E_INVALIDARG;
        }
        owner_->PressLater(id);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT, BSTR) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT, BSTR) override { return E_NOTIMPL; }

  private:
    static constexpr LONG kSelf = CHILDID_SELF;
    static constexpr LONG kUnknown = -1;

    // The child a client names, or kUnknown (also once the gauge is gone).
    LONG IdOf(const VARIANT& child) const {
        if (owner_ == nullptr || child.vt != VT_I4) {
            return kUnknown;
        }
        const LONG id = child.lVal;
        const bool known = id == kSelf || id == MsaaGauge::kAnnouncement ||
                           (id >= 1 && id <= kGaugeButtons + owner_->Adapter().VisiblePanels());
        return known ? id : kUnknown;
    }
    bool Known(const VARIANT& child) const { return IdOf(child) != kUnknown; }
    static bool IsButton(LONG id) { return id >= 1 && id <= kGaugeButtons; }
    static bool IsPanel(LONG id) { return id >= kFirstPanel && id < MsaaGauge::kAnnouncement; }
    static GaugeButton ButtonOf(LONG id) { return static_cast<GaugeButton>(id - 1); }
    PanelWords Words(LONG id) const {
        return DescribePanel(owner_->Adapter().Panel(static_cast<int>(id - kFirstPanel)));
    }
    Rect PartRect(LONG id) const {
        return IsButton(id) ? owner_->Adapter().ButtonRect(ButtonOf(id))
                            : owner_->Adapter().Panel(static_cast<int>(id - kFirstPanel)).rect;
    }
    LONG FocusedChild() const {
        const int focus = owner_->Window().Keys().Current();
        return focus >= 0 ? focus + 1 : kSelf;
    }
    HRESULT Invalid(BSTR* out) const {
        if (out != nullptr) {
            *out = nullptr;
        }
        return owner_ == nullptr ? CO_E_OBJNOTCONNECTED : E_INVALIDARG;
    }

    MsaaGauge* owner_;
    LONG references_ = 1;
};

MsaaGauge::MsaaGauge(Win32Window& window, FrmMain& gauge)
    : window_(window), gauge_(gauge), adapter_(gauge), accessible_(new GaugeAccessible(*this)) {
    window.OnMessage([this](UINT message, WPARAM w, LPARAM l, LRESULT& result) {
        return Message(message, w, l, result);
    });
    window.OnActed([this] {
        if (listened_ && window_.Handle() != nullptr) {
            ::SetTimer(window_.Handle(), kSettleTimer, kSettleMs, nullptr);
        }
    });
    window.OnKeyFocusMoved([this] { TellFocus(); });
}

MsaaGauge::~MsaaGauge() {
    window_.OnMessage(nullptr);
    window_.OnActed(nullptr);
    window_.OnKeyFocusMoved(nullptr);
    if (window_.Handle() != nullptr) {
        ::KillTimer(window_.Handle(), kRoundTimer);
        ::KillTimer(window_.Handle(), kSettleTimer);
    }
    accessible_->Disconnect();
    accessible_->Release();
}

void MsaaGauge::PressLater(LONG child) {
    ::PostMessageW(window_.Handle(), kPressChild, static_cast<WPARAM>(child), 0);
}

bool MsaaGauge::Message(UINT message, WPARAM w, LPARAM l, LRESULT& result) {
    switch (message) {
        case WM_GETOBJECT:
            if (static_cast<LONG>(l) != OBJID_CLIENT) {
                return false;
            }
            // A screen reader has come: what shows now is what it reads first.
            if (!listened_) {
                listened_ = true;
                rounds_.Restart();
                shown_ = Now();
                ::SetTimer(window_.Handle(), kRoundTimer, kRoundMs, nullptr);
            }
            result = ::LresultFromObject(__uuidof(IAccessible), w, accessible_);
            return true;
        case WM_TIMER:
            if (w == kRoundTimer) {
                Round();
                return true;
            }
            if (w == kSettleTimer) {
                ::KillTimer(window_.Handle(), kSettleTimer);
                TellArrangement();
                return true;
            }
            return false;
        case kPressChild:
            Press(static_cast<LONG>(w));
            result = 0;
            return true;
        default:
            return false;
    }
}

// As a click on the part: a button acts, a panel steps to its next reading, and the keyboard
// goes to the part. A screen reader that also clicks where the part is makes one press.
void MsaaGauge::Press(LONG child) {
    const int focus = static_cast<int>(child) - 1;
    const int last = kGaugeButtons + adapter_.VisiblePanels();
    if (focus < 0 || focus >= last || !adapter_.TakeAssistedPress()) {
        return;
    }
    if (focus < kGaugeButtons) {
        adapter_.Press(static_cast<GaugeButton>(focus));
    } else {
        adapter_.NextReading(focus - kGaugeButtons);
    }
    // The close button may have ended the window.
    if (window_.Handle() != nullptr) {
        window_.FocusOn(focus);
        window_.Acted();
    }
}

Arrangement MsaaGauge::Now() const {
    return ArrangementNow(adapter_, adapter_.WindowOnScreen());
}

void MsaaGauge::Notify(DWORD event, LONG child) const {
    if (window_.Handle() != nullptr) {
        ::NotifyWinEvent(event, window_.Handle(), OBJID_CLIENT, child);
    }
}

// A new figure is told only while the gauge has been the foreground window since the round
// before: a screen reader speaks every value change of the window it is in.
void MsaaGauge::Round() {
    const bool foreground = ::GetForegroundWindow() == window_.Handle();
    const PanelNews news = rounds_.Round(adapter_, foreground && wasForeground_);
    wasForeground_ = foreground;
    if (news.reordered) {
        Notify(EVENT_OBJECT_REORDER, CHILDID_SELF);
    }
    for (int p = 0; p < news.visible; ++p) {
        const LONG child = kFirstPanel + p;
        if (news.renamed[static_cast<std::size_t>(p)]) {
            Notify(EVENT_OBJECT_NAMECHANGE, child);
        }
        if (news.refigured[static_cast<std::size_t>(p)]) {
            Notify(EVENT_OBJECT_VALUECHANGE, child);
        }
    }
}

// Said once, as an alert whose name is what changed: Active Accessibility's way, which UI
// Automation's proxy passes on as its own alert.
void MsaaGauge::TellArrangement() {
    const Arrangement now = Now();
    const std::string text = DescribeChange(shown_, now, adapter_, gauge_.ScreenOf(now.place));
    shown_ = now;
    if (!text.empty()) {
        announcement_ = Wide(text);
        Notify(EVENT_SYSTEM_ALERT, kAnnouncement);
    }
}

void MsaaGauge::TellFocus() {
    if (listened_ && ::GetFocus() == window_.Handle()) {
        const int focus = window_.Keys().Current();
        Notify(EVENT_OBJECT_FOCUS, focus >= 0 ? focus + 1 : CHILDID_SELF);
    }
}

}  // namespace kelvane
