// SPDX-FileCopyrightText: 2026 The Kelvane developers
// SPDX-License-Identifier: MIT

#include "rules/reading_rules.h"

#include "rules/reading_kinds.h"

namespace kelvane {

bool IsUsableSnapshot(const MemoryStatus& mem) {
    return mem.totalPhys >= 1024 && mem.availPhys >= 0 && mem.availPhys <= mem.totalPhys;
}

std::int16_t FreePercentOf(const MemoryStatus& mem) {
    const std::int64_t freeKb = mem.availPhys / 1024;
    const std::int64_t totalKb = mem.totalPhys / 1024;
    return static_cast<std::int16_t>(freeKb * 100 / totalKb);
}

std::optional<std::int16_t> UsedPercentOf(const VolumeSpace& space) {
    if (space.totalBytes <= 0 || space.freeBytes < 0 || space.freeBytes > space.totalBytes) {
        return std::nullopt;
    }
    const double freeBytes = static_cast<double>(space.freeBytes);
    const double totalBytes = static_cast<double>(space.totalBytes);
    return static_cast<std::int16_t>(RoundHalfEven(100.0 - freeBytes * 100.0 / totalBytes));
}

namespace {

bool DriveUnknown(int code, const TickReadings& in) {
    const int letter = code - kFirstDrive;
    return (in.driveAbsent != nullptr && in.driveAbsent[letter]) ||
           (in.driveUnknown != nullptr && in.driveUnknown[letter]);
}

// A figure not known, from memory never read, a letter with no volume or a volume that has
// not answered yet: a dash on a dark bar, which no figure reads as.
void ShowUnknown(CaptionText& caption, LedCommand& led) {
    led = {LedCommand::kLevel, 0};
    caption.Append("\u2013");
}

}  // namespace

bool PanelReading(int code, const TickReadings& in, CaptionText& caption, LedCommand& led) {
    if (!IsReadingKind(code)) {
        return false;
    }
    caption.Clear();
    if (IsMemoryKind(code) && !IsUsableSnapshot(in.mem)) {
        ShowUnknown(caption, led);
        return true;
    }
    const double totalKb = static_cast<double>(in.mem.totalPhys) / 1024.0;
    const double freeKb = static_cast<double>(in.mem.availPhys) / 1024.0;
    const int usedPercent = 100 - in.freePercent;
    switch (KindOf(code).caption) {
        case CaptionRule::kUsedPercent:
            led = {LedCommand::kLevel, usedPercent};
            caption.AppendInteger(usedPercent);
            caption.Append("%");
            break;
        case CaptionRule::kUsedKb:
            led = {LedCommand::kLevel, usedPercent};
            caption.AppendFloating(totalKb - freeKb, in.decimalPoint);
            caption.Append(" KB");
            break;
        case CaptionRule::kUsedMb:
            led = {LedCommand::kLevel, usedPercent};
            caption.AppendRounded((totalKb - freeKb) / 1024.0);
            caption.Append(" MB");
            break;
        case CaptionRule::kFreePercent:
            led = {LedCommand::kLevel, in.freePercent};
            caption.AppendInteger(in.freePercent);
            caption.Append("%");
            break;
        case CaptionRule::kFreeKb:
            led = {LedCommand::kLevel, in.freePercent};
            caption.AppendFloating(freeKb, in.decimalPoint);
            caption.Append(" KB");
            break;
        case CaptionRule::kFreeMb:
            led = {LedCommand::kLevel, in.freePercent};
            caption.AppendRounded(freeKb / 1024.0);
            caption.Append(" MB");
            break;
        case CaptionRule::kTotalMb:
            led = {LedCommand::kFull, 0};
            caption.AppendRounded(totalKb / 1024.0);
            caption.Append(" MB");
            break;
        case CaptionRule::kDrivePercent: {
            if (DriveUnknown(code, in)) {
                ShowUnknown(caption, led);
                break;
            }
            const int used = in.driveUsedPercent[code - kFirstDrive];
            led = {LedCommand::kLevel, used};
            caption.AppendInteger(used);
            caption.Append("%");
            break;
        }
    }
    return true;
}

PanelInputs PanelInputsOf(int code, const TickReadings& in) {
    if (IsDriveKind(code)) {
        return {
            code, 0, 0,
            DriveUnknown(code, in) ? std::int16_t{-1} : in.driveUsedPercent[code - kFirstDrive]};
    }
    if (IsMemoryKind(code)) {
        return {code, in.mem.totalPhys, in.mem.availPhys, in.freePercent};
    }
    return {code, 0, 0, 0};
}

}  // namespace kelvane
