// SPDX-FileCopyrightText: 2026 The Kelvane developers
// SPDX-License-Identifier: MIT

// The least kelvane.exe can cost at 100 Hz: the system queries of one tick and nothing else,
// paced as the gauge is paced. Every 10 ms, from a high-resolution waitable timer waited for
// with MsgWaitForMultipleObjectsEx, it asks GlobalMemoryStatusEx and the free space of each
// drive letter given (C: when none is); no window, no drawing.
// Usage: floor.exe [LETTERS]   e.g. "floor.exe C", or "floor.exe DEFGHIJK" for eight letters.
// Built as a window program (-mwindows), so that Wine starts no console for it.

#include <windows.h>

#ifndef CREATE_WAITABLE_TIMER_HIGH_RESOLUTION
#define CREATE_WAITABLE_TIMER_HIGH_RESOLUTION 0x00000002
#endif

enum { kPeriodMs = 10, kMaxLetters = 24 };

int main(int argc, char** argv) {
    wchar_t roots[kMaxLetters][4];
    int count = 0;
    const char* letters = argc > 1 ? argv[1] : "C";
    for (const char* l = letters; *l != '\0' && count < kMaxLetters; ++l) {
        roots[count][0] = (wchar_t)*l;
        roots[count][1] = L':';
        roots[count][2] = L'\\';
        roots[count][3] = L'\0';
        ++count;
    }
    HANDLE timer =
        CreateWaitableTimerExW(NULL, NULL, CREATE_WAITABLE_TIMER_HIGH_RESOLUTION, TIMER_ALL_ACCESS);
    if (timer == NULL) {
        return 1;
    }
    LARGE_INTEGER due;
    due.QuadPart = -10000LL * kPeriodMs;  // relative, in 100 ns
    if (!SetWaitableTimer(timer, &due, kPeriodMs, NULL, NULL, FALSE)) {
        return 1;
    }
    // Kept in a volatile so the compiler cannot drop queries whose result goes unused.
    volatile ULONGLONG sink = 0;
    for (;;) {
        const DWORD woken =
            MsgWaitForMultipleObjectsEx(1, &timer, INFINITE, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
        if (woken == WAIT_OBJECT_0) {
            MEMORYSTATUSEX status;
            status.dwLength = sizeof status;
            if (GlobalMemoryStatusEx(&status)) {
                sink += status.ullAvailPhys;
            }
            for (int i = 0; i < count; ++i) {
                ULARGE_INTEGER freeToCaller;
                ULARGE_INTEGER total;
                if (GetDiskFreeSpaceExW(roots[i], &freeToCaller, &total, NULL)) {
                    sink += freeToCaller.QuadPart;
                }
            }
        } else if (woken == WAIT_FAILED) {
            return 1;
        }
        MSG msg;
        while (PeekMessageW(&msg, NULL, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) {
                return 0;
            }
        }
    }
}
