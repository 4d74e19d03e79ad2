// SPDX-FileCopyrightText: 2026 The Kelvane developers
// SPDX-License-Identifier: MIT

// The main window's controls as its layout makes them, and the view it is shown by.

#include "core/frm_main.h"

#include <QLocale>

namespace kelvane {
namespace {

constexpr int kDriveLabelDesignLeft[kPanels] = {945, 855, 855, 825, 840, 870, 825, 870};
// The title pictures from the back to the front; kinds are in the table's order.
constexpr int kTitleStacking[kTitles] = {3, 4, 5, 6, 7, 1, 2, 0};

int PanelTop(int p) {
    return 270 + 435 * p;
}

Control Make(const char* name, int index, ControlType type, QRect twips, bool visible = true) {
    Control control;
    control.name = name;
    control.index = index;
    control.type = type;
    control.twips = twips;
    control.visible = visible;
    return control;
}

}  // namespace

FrmMain::FrmMain(Platform platform) : platform_(platform) {
    const QString point = QLocale().decimalPoint();
    decimalPoint_ = (point.isEmpty() ? QStringLiteral(".") : point).toStdString();
    CreateControls();

    Timer1.setInterval(10);
    QObject::connect(&Timer1, &QTimer::timeout, &Timer1, [this] { Timer1_Timer(); });
    Timer1.start();
    saveTimer_.setSingleShot(true);
    saveTimer_.setInterval(1000);
    QObject::connect(&saveTimer_, &QTimer::timeout, &saveTimer_, [this] { SaveMySettings(); });
}

void FrmMain::AttachHost(WindowHost& host) {
    host_ = &host;
}

// From the back to the front: stacking order is creation order.
void FrmMain::CreateControls() {
    const auto add = [this](const char* name, int index, ControlType type, QRect twips,
                            bool visible = true) {
        return controls.Add(Make(name, index, type, twips, visible));
    };
    using T = ControlType;
    Image1 = add("Image1", -1, T::kPicture, {570, 30, 1710, 240});
    static const std::array<std::string, kTitles> titleNames = [] {
        std::array<std::string, kTitles> names;
        for (int t = 0; t < kTitles; ++t) {
            names[static_cast<std::size_t>(t)] = "img" + std::string(KindAt(t).title);
        }
        return names;
    }();
    for (int p = 0; p < kPanels; ++p) {
        for (const int t : kTitleStacking) {
            Titles[static_cast<std::size_t>(t)][static_cast<std::size_t>(p)] =
                add(titleNames[static_cast<std::size_t>(t)].c_str(), p, T::kPicture,
                    {0, PanelTop(p), 2040, 405});
        }
    }
    Shape1 = add("Shape1", -1, T::kOutline, {0, 0, 2040, 3720});
    imgClose2 = add("imgClose2", -1, T::kPicture, {45, 30, 180, 195});
    imgClose3 = add("imgClose3", -1, T::kPicture, {45, 30, 180, 195}, false);
    imgMin1 = add("imgMin1", -1, T::kPicture, {240, 15, 180, 195});
    imgMin2 = add("imgMin2", -1, T::kPicture, {240, 15, 180, 195}, false);
    for (int p = 0; p < kPanels; ++p) {
        lblDrv[static_cast<std::size_t>(p)] =
            add("lblDrv", p, T::kLabel, {kDriveLabelDesignLeft[p], 450 + 435 * p, 210, 165}, false);
    }
    for (int p = 0; p < kPanels; ++p) {
        lblInfo[static_cast<std::size_t>(p)] =
            add("lblInfo", p, T::kLabel, {1440, 450 + 435 * p, 585, 180});
    }
    for (int p = 0; p < kPanels; ++p) {
        imgR2G[static_cast<std::size_t>(p)] =
            add("imgR2G", p, T::kPicture, {0, PanelTop(p), 2040, 180});
        imgG2R[static_cast<std::size_t>(p)] =
            add("imgG2R", p, T::kPicture, {0, PanelTop(p), 2040, 180});
    }
    static const std::array<std::string, kSegments> segmentNames = [] {
        std::array<std::string, kSegments> names;
        for (int n = 1; n <= kSegments; ++n) {
            names[static_cast<std::size_t>(n - 1)] =
                QStringLiteral("imgRamUse_%1").arg(n, 2, 10, QLatin1Char('0')).toStdString();
        }
        return names;
    }();
    for (int p = 0; p < kPanels; ++p) {
        for (int n = 1; n <= kSegments; ++n) {
            const auto i = static_cast<std::size_t>(n - 1);
            Control segment =
                Make(segmentNames[i].c_str(), p, T::kSegment, {75 * (n - 1), PanelTop(p), 90, 180});
            segment.fill = SegmentColour(ColourScheme::GreenToRed, n);
            imgRamUse[i][static_cast<std::size_t>(p)] = controls.Add(segment);
        }
    }
    imgHelp1 = add("imgHelp1", -1, T::kPicture, {450, 45, 180, 210});
    imgHelp2 = add("imgHelp2", -1, T::kPicture, {450, 45, 180, 210}, false);
    Label1 = add("Label1", -1, T::kLabel, {1635, 60, 135, 210});
    Label2 = add("Label2", -1, T::kLabel, {1890, 60, 120, 195});
    Label3 = add("Label3", -1, T::kLabel, {1755, 30, 120, 120});
    controls.SetText(Label1, "<");
    controls.SetText(Label2, ">");
    controls.SetText(Label3, "^");
}

}  // namespace kelvane
