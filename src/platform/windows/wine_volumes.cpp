// SPDX-FileCopyrightText: 2026 The Kelvane developers
// SPDX-License-Identifier: MIT

#include "platform/windows/wine_volumes.h"

#include <cstdint>

namespace kelvane {
namespace {

// Wine's own export: the Unix path of a Windows one, resolved on the Unix side (through the
// prefix's dosdevices), without Wine's server. Freed by the process heap.
using UnixFileName = char*(CDECL*)(LPCWSTR);

UnixFileName WineUnixFileName() {
    const HMODULE kernel = ::GetModuleHandleW(L"kernel32.dll");
    const HMODULE ntdll = ::GetModuleHandleW(L"ntdll.dll");
    // Only Wine's ntdll has this; a program on Windows never takes the path below.
    if (kernel == nullptr || ntdll == nullptr ||
        ::GetProcAddress(ntdll, "wine_get_version") == nullptr) {
        return nullptr;
    }
    return reinterpret_cast<UnixFileName>(
        reinterpret_cast<void*>(::GetProcAddress(kernel, "wine_get_unix_file_name")));
}

// Linux's struct statfs on x86-64.
struct LinuxStatfs {
    std::int64_t type;
    std::int64_t blockSize;
    std::uint64_t blocks;
    std::uint64_t free;
    std::uint64_t available;
    std::uint64_t files;
    std::uint64_t freeFiles;
    std::int32_t id[2];
    std::int64_t nameLength;
    std::int64_t fragmentSize;
    std::int64_t flags;
    std::int64_t spare[4];
};
constexpr std::int64_t kLinuxStatfs = 137;
constexpr std::int64_t kLinuxReadOnly = 1;  // ST_RDONLY

// statfs(2) as Linux runs it for the Wine process this code runs in.
bool Statfs(LPCWSTR root, LinuxStatfs& out) {
    static const UnixFileName unixName = WineUnixFileName();
    char* path = unixName != nullptr ? unixName(root) : nullptr;
    if (path == nullptr) {
        ::SetLastError(ERROR_PATH_NOT_FOUND);
        return false;
    }
    std::int64_t result = 0;
    __asm__ volatile("syscall"
                     : "=a"(result)
                     : "a"(kLinuxStatfs), "D"(path), "S"(&out)
                     : "rcx", "r11", "memory");
    ::HeapFree(::GetProcessHeap(), 0, path);
    if (result != 0) {
        ::SetLastError(ERROR_NOT_READY);
        return false;
    }
    return true;
}

UINT WINAPI DriveType(LPCWSTR root) {
    LinuxStatfs space{};
    return Statfs(root, space) ? DRIVE_FIXED : DRIVE_NO_ROOT_DIR;
}

BOOL WINAPI VolumeInformation(LPCWSTR root, LPWSTR, DWORD, LPDWORD, LPDWORD, LPDWORD flags, LPWSTR,
                              DWORD) {
    LinuxStatfs space{};
    if (!Statfs(root, space)) {
        return FALSE;
    }
    *flags = (space.flags & kLinuxReadOnly) != 0 ? FILE_READ_ONLY_VOLUME : 0;
    return TRUE;
}

// As Wine's own GetDiskFreeSpaceExW counts.
BOOL WINAPI FreeSpace(LPCWSTR root, PULARGE_INTEGER freeToCaller, PULARGE_INTEGER total,
                      PULARGE_INTEGER free) {
    LinuxStatfs space{};
    if (!Statfs(root, space)) {
        return FALSE;
    }
    const auto unit = static_cast<std::uint64_t>(space.fragmentSize);
    freeToCaller->QuadPart = space.available * unit;
    total->QuadPart = space.blocks * unit;
    if (free != nullptr) {
        free->QuadPart = space.free * unit;
    }
    return TRUE;
}

}  // namespace

std::optional<DriveCalls> WineDriveCalls() {
    if (WineUnixFileName() == nullptr) {
        return std::nullopt;
    }
    DriveCalls calls;
    calls.driveType = DriveType;
    calls.volumeInformation = VolumeInformation;
    calls.freeSpace = FreeSpace;
    return calls;
}

}  // namespace kelvane
