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

bool DriveUnknown(SectionKind code, const TickReadings& in) {
    const int letter = DriveIndex(code);
    return (in.driveAbsent != nullptr && in.driveAbsent[letter]) ||
           (in.driveUnknown != nullptr && in.driveUnknown[letter]);
}

// A figure not known, from memory never read, a letter with no volume or a volume that has
// not answered yet: a dash on a dark bar, which no figure reads as.
void ShowUnknown(PanelResult& out, PanelResult::State state) {
    out.state = state;
    out.led = {LedCommand::kLevel, 0};
    out.caption.Append("\u2013");
}

}  // namespace

void PanelReading(SectionKind code, const TickReadings& in, PanelResult& out) {
    out.code = code;
    out.state = PanelResult::State::kNoReading;
    out.caption.Clear();
    out.figure = 0;
    if (!IsReadingKind(code)) {
        return;
    }
    const double totalKb = static_cast<double>(in.mem.totalPhys) / 1024.0;
    const double freeKb = static_cast<double>(in.mem.availPhys) / 1024.0;
    const int usedPercent = 100 - in.freePercent;
    // Rounded as the total's caption is, which no rounded part of it exceeds.
    const auto totalMb = [totalKb] { return RoundHalfEven(totalKb / 1024.0); };
    const auto show = [&out](int level, double figure, std::string_view unit, double full) {
        out.led = {level < 0 ? LedCommand::kFull : LedCommand::kLevel, level < 0 ? 0 : level};
        out.figure = figure;
        out.unit = unit;
        out.fullScale = full;
    };
    switch (KindOf(code).caption) {
        case CaptionRule::kUsedPercent:
            show(usedPercent, usedPercent, "%", 100);
            break;
        case CaptionRule::kUsedKb:
            show(usedPercent, totalKb - freeKb, "KB", totalKb);
            break;
        case CaptionRule::kUsedMb:
            show(usedPercent, RoundHalfEven((totalKb - freeKb) / 1024.0), "MB", totalMb());
            break;
        case CaptionRule::kFreePercent:
            show(in.freePercent, in.freePercent, "%", 100);
            break;
        case CaptionRule::kFreeKb:
            show(in.freePercent, freeKb, "KB", totalKb);
            break;
        case CaptionRule::kFreeMb:
            show(in.freePercent, RoundHalfEven(freeKb / 1024.0), "MB", totalMb());
            break;
        case CaptionRule::kTotalMb: {
            const double total = totalMb();
            show(-1, total, "MB", total);  // a full bar
            break;
        }
        case CaptionRule::kDrivePercent: {
            const int used = DriveUnknown(code, in) ? 0 : in.driveUsedPercent[DriveIndex(code)];
            show(used, used, "%", 100);
            break;
        }
    }
    if (IsDriveKind(code) && in.driveAbsent != nullptr && in.driveAbsent[DriveIndex(code)]) {
        ShowUnknown(out, PanelResult::State::kAbsent);
    } else if (IsDriveKind(code) ? DriveUnknown(code, in) : !IsUsableSnapshot(in.mem)) {
        ShowUnknown(out, PanelResult::State::kUnknown);
    } else {
        out.state = PanelResult::State::kFigure;
        if (out.unit[0] == 'K') {
            out.caption.AppendFloating(out.figure, in.decimalPoint);
            out.caption.Append(" KB");
        } else if (out.unit[0] == 'M') {
            out.caption.AppendWhole(out.figure);
            out.caption.Append(" MB");
        } else {
            out.caption.AppendInteger(static_cast<std::int64_t>(out.figure));
            out.caption.Append("%");
        }
    }
}

PanelInputs PanelInputsOf(SectionKind code, const TickReadings& in) {
    if (IsDriveKind(code)) {
        return {code, 0, 0,
                DriveUnknown(code, in) ? std::int16_t{-1} : in.driveUsedPercent[DriveIndex(code)]};
    }
    if (IsMemoryKind(code)) {
        return {code, in.mem.totalPhys, in.mem.availPhys, in.freePercent};
    }
    return {code, 0, 0, 0};
}

}  // namespace kelvane
