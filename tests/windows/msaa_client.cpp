// SPDX-FileCopyrightText: 2026 The Kelvane developers
// SPDX-License-Identifier: MIT

// A screen reader's view of the gauge through Active Accessibility, from another process.
//   msaa_client tree          the window and each child, a line each:
//                             "<id>|<role>|<name>|<value>|<action>|<focused>|<hits itself>"
//   msaa_client press NAME    the default action of the child so named
//   msaa_client listen MS     what is told for MS milliseconds, a line per event:
//                             "alert|<name>", "focus|<id>", "value|<id>", "name|<id>"
// Ends with status 1 when the gauge's window or its interface cannot be found.

#include <windows.h>
// Each of these needs windows.h first.
#include <oleacc.h>

#include <cstdio>
#include <cwchar>
#include <string>

namespace {

std::string Narrow(const wchar_t* text) {
    if (text == nullptr) {
        return {};
    }
    const int size = ::WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    std::string narrow(static_cast<std::size_t>(size > 0 ? size - 1 : 0), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text, -1, narrow.data(), size, nullptr, nullptr);
    return narrow;
}

VARIANT Child(LONG id) {
    VARIANT child;
    ::VariantInit(&child);
    child.vt = VT_I4;
    child.lVal = id;
    return child;
}

// A text the interface gives, "" where it gives none.
template <typename Getter>
std::string Read(Getter get) {
    BSTR text = nullptr;
    std::string read = SUCCEEDED(get(&text)) ? Narrow(text) : std::string();
    ::SysFreeString(text);
    return read;
}

std::string RoleText(IAccessible& accessible, LONG id) {
    VARIANT role;
    ::VariantInit(&role);
    if (FAILED(accessible.get_accRole(Child(id), &role)) || role.vt != VT_I4) {
        return "?";
    }
    switch (role.lVal) {
        case ROLE_SYSTEM_CLIENT:
            return "client";
        case ROLE_SYSTEM_PUSHBUTTON:
            return "push button";
        case ROLE_SYSTEM_PROGRESSBAR:
            return "progress bar";
        default:
            return std::to_string(role.lVal);
    }
}

bool Focused(IAccessible& accessible, LONG id) {
    VARIANT state;
    ::VariantInit(&state);
    return SUCCEEDED(accessible.get_accState(Child(id), &state)) && state.vt == VT_I4 &&
           (state.lVal & STATE_SYSTEM_FOCUSED) != 0;
}

// Whether the middle of the child's place on the screen is found to be the child.
bool HitsItself(IAccessible& accessible, LONG id) {
    LONG x = 0, y = 0, width = 0, height = 0;
    if (accessible.accLocation(&x, &y, &width, &height, Child(id)) != S_OK || width <= 0 ||
        height <= 0) {
        return false;
    }
    VARIANT hit;
    ::VariantInit(&hit);
    return SUCCEEDED(accessible.accHitTest(x + width / 2, y + height / 2, &hit)) &&
           hit.vt == VT_I4 && hit.lVal == id;
}

std::string Line(IAccessible& accessible, LONG id) {
    const VARIANT child = Child(id);
    return std::to_string(id) + "|" + RoleText(accessible, id) + "|" +
           Read([&](BSTR* t) { return accessible.get_accName(child, t); }) + "|" +
           Read([&](BSTR* t) { return accessible.get_accValue(child, t); }) + "|" +
           Read([&](BSTR* t) { return accessible.get_accDefaultAction(child, t); }) + "|" +
           (Focused(accessible, id) ? "focused" : "") + "|" +
           (id == CHILDID_SELF || HitsItself(accessible, id) ? "hits" : "misses");
}

int Tree(IAccessible& accessible) {
    LONG children = 0;
    accessible.get_accChildCount(&children);
    std::printf("%s\n", Line(accessible, CHILDID_SELF).c_str());
    std::printf("description|%s\n",
                Read([&](BSTR* t) { return accessible.get_accDescription(Child(0), t); }).c_str());
    for (LONG id = 1; id <= children; ++id) {
        std::printf("%s\n", Line(accessible, id).c_str());
    }
    return 0;
}

int Press(IAccessible& accessible, const std::string& name) {
    LONG children = 0;
    accessible.get_accChildCount(&children);
    for (LONG id = 1; id <= children; ++id) {
        const VARIANT child = Child(id);
        if (Read([&](BSTR* t) { return accessible.get_accName(child, t); }) == name) {
            return SUCCEEDED(accessible.accDoDefaultAction(child)) ? 0 : 1;
        }
    }
    std::fprintf(stderr, "no child named %s\n", name.c_str());
    return 1;
}

HWND gauge = nullptr;

void CALLBACK Told(HWINEVENTHOOK, DWORD event, HWND window, LONG object, LONG child, DWORD, DWORD) {
    if (window != gauge || object != OBJID_CLIENT) {
        return;
    }
    switch (event) {
        case EVENT_SYSTEM_ALERT: {
            IAccessible* source = nullptr;
            VARIANT id;
            ::VariantInit(&id);
            if (SUCCEEDED(::AccessibleObjectFromEvent(window, object, child, &source, &id))) {
                std::printf("alert|%s\n",
                            Read([&](BSTR* t) { return source->get_accName(id, t); }).c_str());
                source->Release();
            }
            break;
        }
        case EVENT_OBJECT_FOCUS:
            std::printf("focus|%ld\n", static_cast<long>(child));
            break;
        case EVENT_OBJECT_VALUECHANGE:
            std::printf("value|%ld\n", static_cast<long>(child));
            break;
        case EVENT_OBJECT_NAMECHANGE:
            std::printf("name|%ld\n", static_cast<long>(child));
            break;
        default:
            break;
    }
    std::fflush(stdout);
}

int Listen(DWORD milliseconds) {
    const HWINEVENTHOOK hook =
        ::SetWinEventHook(EVENT_MIN, EVENT_MAX, nullptr, Told, 0, 0, WINEVENT_OUTOFCONTEXT);
    if (hook == nullptr) {
        return 1;
    }
    std::printf("listening\n");
    std::fflush(stdout);
    const DWORD end = ::GetTickCount() + milliseconds;
    for (DWORD now = ::GetTickCount(); now < end; now = ::GetTickCount()) {
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, end - now, QS_ALLINPUT);
        MSG message;
        while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            ::DispatchMessageW(&message);
        }
    }
    ::UnhookWinEvent(hook);
    return 0;
}

}  // namespace

int main(int argc, char* argv[]) {
    const std::string command = argc > 1 ? argv[1] : "tree";
    ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    gauge = ::FindWindowW(L"KelvaneGauge", nullptr);
    if (gauge == nullptr) {
        std::fprintf(stderr, "no gauge window\n");
        return 1;
    }
    IAccessible* accessible = nullptr;
    const HRESULT found =
        ::AccessibleObjectFromWindow(gauge, static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible),
                                     reinterpret_cast<void**>(&accessible));
    if (FAILED(found)) {
        std::fprintf(stderr, "no interface for the gauge's window: 0x%08lx\n",
                     static_cast<unsigned long>(found));
        return 1;
    }
    int status = 1;
    if (command == "tree") {
        status = Tree(*accessible);
    } else if (command == "press" && argc > 2) {
        status = Press(*accessible, argv[2]);
    } else if (command == "listen" && argc > 2) {
        status = Listen(static_cast<DWORD>(std::atoi(argv[2])));
    }
    accessible->Release();
    ::CoUninitialize();
    return status;
}
