// SPDX-FileCopyrightText: 2026 The Kelvane developers
// SPDX-License-Identifier: MIT

// The gauge with no display: scripts of what a user does, over a fake platform, checked
// along the way. A script is a list of steps:
//   set:Key=value drives:N space:L=free/total mem:total/avail mem:none screen:WxH
//   start tick key:F5 press:AT release:AT tap:AT dbl:AT move:dx,dy,BUTTONS unload watch
//   ?probe=expected (a "_" in the expected text stands for a blank)
// where AT names a control (logo size close help < > ^) or a panel's title, LED row or
// number (titleN ledN numberN).

#include <malloc.h>

#include <QtTest>
#include <cmath>

#include "fakes/fake_platform.h"
#include "platform/meminfo_parser.h"

using namespace kelvane;

namespace {

QString Str(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

template <typename Range>
QString Joined(const Range& values) {
    QStringList parts;
    for (const auto value : values) {
        parts << QString::number(value);
    }
    return parts.join(QLatin1Char(' '));
}

struct Run {
    FakeGauge g;
    FrmMain& w = g.window;
    const Controls& c = g.window.controls;
    QPoint pressedAt;
    QList<QRect> repainted;
    bool watching = false;

    Run() {
        g.window.controls.OnRepaint([this](const QRect& r) { repainted << r; });
    }

    QPoint At(const QString& at) const {
        const auto p = static_cast<std::size_t>(at.right(1).toInt());
        if (at.startsWith(QLatin1String("title"))) {
            return {6, 18 + 29 * int(p) + 20};  // the caption, left of the number
        }
        if (at.startsWith(QLatin1String("led"))) {
            return {3, 18 + 29 * int(p) + 5};
        }
        const QMap<QString, ControlId> named = {{"logo", w.Image1},     {"size", w.imgMin1},
                                                {"close", w.imgClose2}, {"help", w.imgHelp1},
                                                {"<", w.Label1},        {">", w.Label2},
                                                {"^", w.Label3},        {"number", w.lblInfo[p]}};
        return c[named.value(at.startsWith(QLatin1String("number")) ? "number" : at)]
            .pixels.center();
    }

    // "title place scheme drive": the visible titles, the number's left/width in twips, the
    // bar's colours as its pictures and first segment show them, the drive label and its left.
    QString PanelState(std::size_t p) const {
        QStringList titles;
        for (int t = 0; t < kTitles; ++t) {
            if (c[w.Titles[static_cast<std::size_t>(t)][p]].visible) {
                titles << Str(KindAt(t).title);
            }
        }
        const Rgb first = c[w.imgRamUse[0][p]].fill;
        // "design": both direction pictures still show, as the window was made.
        const bool g2r = c[w.imgG2R[p]].visible;
        const bool r2g = c[w.imgR2G[p]].visible;
        const QString scheme =
            g2r && first == SegmentColour(ColourScheme::GreenToRed, 1) ? (r2g ? "design" : "G2R")
            : !g2r && r2g && first == SegmentColour(ColourScheme::RedToGreen, 1) ? "R2G"
                                                                                 : "mixed";
        const Control& drive = c[w.lblDrv[p]];
        return QStringLiteral("%1 %2/%3 %4 %5")
            .arg(titles.join(QLatin1Char('+')))
            .arg(c[w.lblInfo[p]].twips.x())
            .arg(c[w.lblInfo[p]].twips.width())
            .arg(scheme, drive.visible
                             ? Str(c.Text(w.lblDrv[p])) + QStringLiteral("@%1").arg(drive.twips.x())
                             : QStringLiteral("-"));
    }

    // Lit segments of a panel, -1 unless they are the leftmost ones.
    int Lit(std::size_t p) const {
        int lit = 0;
        for (std::size_t n = 0; n < kSegments; ++n) {
            if (c[w.imgRamUse[n][p]].visible && lit++ != int(n)) {
                return -1;
            }
        }
        return lit;
    }

    // The repaints since "watch", by the kind of control each was for: "pictures segments labels".
    QString Repainted() const {
        int counts[3] = {};
        for (const QRect& r : repainted) {
            const auto& all = c.BackToFront();
            const auto it = std::find_if(all.rbegin(), all.rend(),
                                         [&](const Control& x) { return x.pixels == r; });
            counts[it == all.rend() ? 0 : static_cast<int>(it->type) % 3] += it != all.rend();
        }
        return QStringLiteral("%1 %2 %3").arg(counts[0]).arg(counts[1]).arg(counts[2]);
    }

    QString Probe(const QString& name) const {
        const auto p = static_cast<std::size_t>(name.right(1).toInt());
        const QRect r = g.host.geometry;
        QStringList saved;
        for (const auto& key : {"Left", "Top", "Section_1", "Section_2", "Section_3", "Section_4",
                                "Section_5", "Section_6", "Section_7", "Section_8", "Panels"}) {
            saved << g.settings.Value(saved.size() < 2 ? "StartUp" : "Forms", key);
        }
        QStringList faces;
        for (const ControlId face : {w.imgMin2, w.imgClose3, w.imgHelp2}) {
            if (c[face].visible) {
                faces << QLatin1String(c[face].name);
            }
        }
        const QMap<QString, QString> probes = {
            {"window",
             QStringLiteral("%1,%2,%3,%4").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height())},
            {"topmost", g.host.topmost ? "yes" : "no"},
            {"mode", QString::number(w.PanelsMode)},
            {"sections", Joined(w.Section)},
            {"step", QString::number(w.DriveStep)},
            {"start", QStringLiteral("%1 %2").arg(w.StartLeft).arg(w.StartTop)},
            {"lng", QStringLiteral("%1,%2").arg(w.lngLeft).arg(w.lngTop)},
            {"saved", saved.join(QLatin1Char(' '))},
            {"commits", QString::number(g.settings.commits)},
            {"pending", w.SavePending() ? "yes" : "no"},
            {"faces", faces.join(QLatin1Char('+'))},
            {"host",
             QStringLiteral("help %1 unloads %2").arg(g.host.helpShown).arg(g.host.unloads)},
            {"repainted", Repainted()}};
        if (probes.contains(name)) {
            return probes[name];
        }
        const QString kind = name.left(name.size() - 1);
        return kind == QLatin1String("cap")   ? Str(c.Text(w.lblInfo[p]))
               : kind == QLatin1String("lit") ? QString::number(Lit(p))
               : kind == QLatin1String("tip") ? w.PanelToolTip(int(p))
               : kind == QLatin1String("p")   ? PanelState(p)
                                              : "no probe " + name;
    }

    void Step(const QString& step) {
        const QString verb = step.section(':', 0, 0);
        const QString arg = step.section(':', 1);
        const QStringList f = arg.split(QRegularExpression(QStringLiteral("[=/,x]")));
        static const QStringList verbs = {"set",  "drives", "space", "mem",    "screen", "start",
                                          "tick", "key",    "press", "dbl",    "tap",    "release",
                                          "move", "unload", "watch", "refuse", "unknown", "screens", "comeback"};
        QVERIFY2(verbs.contains(verb), qPrintable("unknown step " + step));
        if (verb == QLatin1String("set")) {
            const bool startUp = f[0] == QLatin1String("Left") || f[0] == QLatin1String("Top");
            g.settings.values[{startUp ? "StartUp" : "Forms", f[0]}] = arg.section('=', 1);
        } else if (verb == QLatin1String("drives")) {
            g.volumes.PassFirst(arg.toInt());
        } else if (verb == QLatin1String("space")) {
            g.volumes.space[f[0].toUInt()] = {f[1].toLongLong(), f[2].toLongLong()};
            g.volumes.answering[f[0].toUInt()] = f[1] != QLatin1String("fail");
        } else if (verb == QLatin1String("mem")) {
            g.memory.readable = arg != QLatin1String("none");
            g.memory.status = {f[0].toLongLong(), f.value(1).toLongLong()};
        } else if (verb == QLatin1String("screen")) {
            g.screen.size = QSize(f[0].toInt(), f[1].toInt());
        } else if (verb == QLatin1String("start")) {
            g.Start();
        } else if (verb == QLatin1String("tick")) {
            w.Timer1_Timer();
        } else if (verb == QLatin1String("key")) {
            w.Form_KeyDown(111 + arg.mid(1).toInt());
        } else if (verb == QLatin1String("press") || verb == QLatin1String("dbl") ||
                   verb == QLatin1String("tap")) {
            pressedAt = At(arg);
            w.MouseDown(pressedAt, verb == QLatin1String("dbl"));
        }
        if (verb == QLatin1String("release") || verb == QLatin1String("tap")) {
            w.MouseUp(At(arg), Qt::NoButton);
        } else if (verb == QLatin1String("move")) {
            const Qt::MouseButtons buttons = f[2] == QLatin1String("left") ? Qt::LeftButton
                                             : f[2] == QLatin1String("right")
                                                 ? Qt::RightButton
                                                 : Qt::LeftButton | Qt::RightButton;
            w.MouseMove(pressedAt + QPoint(f[0].toInt(), f[1].toInt()), buttons);
        } else if (verb == QLatin1String("unload")) {
            w.Form_Unload();
        } else if (verb == QLatin1String("watch")) {
            repainted.clear();
        } else if (verb == QLatin1String("refuse")) {
            g.host.refuseMoves = true;  // as sway and weston do
        } else if (verb == QLatin1String("screens")) {
            w.ScreensChanged();
        } else if (verb == QLatin1String("comeback")) {
            g.host.topmost = false;
            w.ComeBack();
        } else if (verb == QLatin1String("unknown")) {
            g.host.positionKnown = false;  // as for a Wayland client
        }
    }
};

}  // namespace

// /proc/meminfo text read through the real parser; a read racing the kernel may be cut short.
class TextMemory final : public MemoryStatusSource {
  public:
    bool Read(MemoryStatus& out) override {
        const auto status = ParseMeminfo(text);
        out = status && !unreadable ? *status : out;
        return status && !unreadable;
    }
    std::string text;
    bool unreadable = false;
};

class TestGauge : public QObject {
    Q_OBJECT
  private slots:
    void script_data();
    void script();
    void soak();
};

// Days of ticks over figures that change on every tick and a platform that fails now and
// then: what shows never drifts from the last figures read, and the heap never grows (the
// tick allocates nothing). KELVANE_SOAK_TICKS sets the length (20 000; tests/soak/run.sh runs
// a million). Run with glibc's per-thread cache off (GLIBC_TUNABLES=glibc.malloc.tcache_count=0),
// whose parked blocks would look like a leak.
void TestGauge::soak() {
    const long long ticks = std::max(20000, qEnvironmentVariableIntValue("KELVANE_SOAK_TICKS"));
    constexpr std::int64_t kTotalKb = 1 << 20;
    FakeGauge g;
    TextMemory memory;
    FrmMain w(Platform{memory, g.volumes, g.screen, g.settings});
    w.Timer1.stop();
    w.AttachHost(g.host);
    g.volumes.PassFirst(1);
    for (int p = 0; p < kPanels; ++p) {
        g.settings.values[{"Forms", QStringLiteral("Section_%1").arg(p + 1)}] = QString::number(p);
    }
    w.GetMySettings();
    w.Form_Load();
    memory.text.reserve(256);
    std::int64_t availKb = 0, driveFree = 0;
    std::size_t heap = 0;
    for (long long t = 1; t <= ticks; ++t) {
        // Faults on their own rhythms, so that every kind meets every other now and then.
        const std::int64_t nowKb = (t * 7919) % (kTotalKb + 1);
        const bool cut = t % 13 == 5;
        memory.unreadable = t % 7 == 3;
        memory.text = "MemTotal: " + std::to_string(kTotalKb) +
                      " kB\nMemAvailable: " + std::to_string(nowKb) + " kB\n";
        memory.text.resize(cut ? 30 : memory.text.size());
        g.volumes.answering[0] = t % 11 != 4;
        g.volumes.space[0] = {(t * 31) % 101, 100};
        w.Timer1_Timer();
        availKb = cut || memory.unreadable ? availKb : nowKb;
        driveFree = g.volumes.answering[0] ? (t * 31) % 101 : driveFree;
        heap = t == 1000 ? mallinfo2().uordblks : heap;
        if (t > 1001 && t % 1000 != 0) {
            continue;  // every tick of the first stretch, where each pair of faults comes up
        }
        const std::int64_t free = availKb * 100 / kTotalKb;
        const auto mb = [](std::int64_t kb) { return std::nearbyint(double(kb) / 1024.0); };
        const QStringList expected = {QStringLiteral("%1%").arg(100 - free),
                                      QStringLiteral("%1 KB").arg(kTotalKb - availKb),
                                      QStringLiteral("%1 MB").arg(mb(kTotalKb - availKb)),
                                      QStringLiteral("%1%").arg(free),
                                      QStringLiteral("%1 KB").arg(availKb),
                                      QStringLiteral("%1 MB").arg(mb(availKb)),
                                      QStringLiteral("1024 MB"),
                                      QStringLiteral("%1%").arg(100 - driveFree)};
        for (std::size_t p = 0; p < kPanels; ++p) {
            QCOMPARE(Str(w.controls.Text(w.lblInfo[p])), expected[int(p)]);
        }
        QVERIFY2(heap == 0 || mallinfo2().uordblks <= heap + 1024, "the heap grows with the ticks");
    }
}

void TestGauge::script() {
    QFETCH(QString, steps);
    Run run;
    for (const QString& step : steps.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        if (!step.startsWith(QLatin1Char('?'))) {
            run.Step(step);
            continue;
        }
        const QString probe = step.mid(1).section('=', 0, 0);
        const QString expected = step.section('=', 1).replace(QLatin1Char('_'), QLatin1Char(' '));
        QCOMPARE(probe + QLatin1Char('=') + run.Probe(probe), probe + QLatin1Char('=') + expected);
    }
}

void TestGauge::script_data() {
    QTest::addColumn<QString>("steps");
    const auto row = [](const char* name, const char* steps) {
        QTest::newRow(name) << QString::fromUtf8(steps);
    };
    // Start-up.
    row("first run centres all eight panels on the primary screen",
        "start ?window=444,260,136,248 ?topmost=yes ?mode=4 ?start=6660_3900 "
        "?sections=3_4_5_0_1_2_6_7 ?lit1=0 ?lit0=27 ?commits=0");
    row("the size code sets the height",
        "set:Panels=5 set:Left=1500 set:Top=757 start ?window=100,50,136,74");
    row("code 8 shows six panels", "set:Panels=8 start ?window=444,260,136,190");
    row("a size code out of the table is unreadable: all panels, at the stored place",
        "set:Panels=9 set:Left=1500 set:Top=750 start ?window=100,50,136,248 ?topmost=yes ?mode=4");
    row("a place off every screen is brought onto the nearest edge",
        "set:Left=-300000 set:Top=9000000 start ?window=0,520,136,248");
    row("a place saved on a larger screen is brought onto a smaller one",
        "screen:800x600 set:Left=27000 set:Top=15000 start ?window=664,352,136,248 unload "
        "?saved=9960_5280_3_4_5_0_1_2_6_7_4");
    row("a screen that shrinks under the window brings it back onto the screen",
        "set:Left=13320 set:Top=7800 start screens ?window=888,520,136,248 screen:800x600 screens "
        "?window=664,352,136,248");
    row("a later start brings a window dragged off the screen back, above the others",
        "start press:logo move:2000,0,left release:logo comeback ?window=888,260,136,248 "
        "?topmost=yes");
    row("a place touching the screen's edges stays",
        "set:Left=13320 set:Top=7800 start ?window=888,520,136,248");
    row("text that is no number loads as 0; a place beyond 16 bits loads; Section_5 is panel 4's",
        "set:Left=40000 set:Top=abc set:Section_3=abc set:Section_4=300 set:Section_5=4.5 start "
        "?start=40000_0 ?sections=3_4_0_0_4_2_6_7");
    // The layout at start, per kind.
    row("used RAM keeps the design colours", "set:Section_4=0 start ?p3=URP_1400/530_design_-");
    row("free RAM percent takes the place a click gives",
        "set:Section_4=3 start ?p3=FRP_1400/530_R2G_-");
    row("a drive label moves from its design place",
        "set:Section_4=7 start ?p3=UD_1070/900_G2R_C:@870");
    row("Z: is the last letter", "set:Section_4=30 start ?p3=UD_1070/900_G2R_Z:@870");
    row("a code above 30 names no reading: used RAM percent",
        "set:Section_4=31 set:Section_5=255 start ?sections=3_4_5_0_0_2_6_7 "
        "?p3=URP_1400/530_design_-");
    // The tick.
    row("kinds on a tick",
        "drives:24 space:0=43/100 space:23=91/100 set:Section_1=1 set:Section_2=2 set:Section_3=3 "
        "set:Section_4=5 set:Section_5=6 set:Section_6=7 set:Section_7=30 set:Section_8=0 start "
        "tick "
        "?cap0=90560_KB ?lit0=19 ?cap1=88_MB ?cap2=30% ?lit2=8 ?cap3=39_MB ?cap4=128_MB ?lit4=27 "
        "?cap5=57% ?lit5=16 ?cap6=9% ?lit6=3 ?cap7=70% ?lit7=19");
    row("memory not read yet shows a dash on a dark bar; a bad read keeps the last figures",
        "mem:none start tick ?cap0=\u2013 ?lit0=0 ?cap6=\u2013 ?lit6=0 mem:133693440/40960000 tick "
        "?cap0=30% mem:none tick ?cap0=30% "
        "mem:0/0 tick ?cap0=30% mem:133693440/50000000 tick ?cap1=48828.125_KB");
    row("a failed query keeps the drive's last figure, never another's",
        "drives:2 space:0=25/100 space:1=fail/0 set:Section_1=8 start tick ?cap0=0% ?cap7=75% "
        "space:0=fail/0 tick ?cap7=75% ?cap0=0%");
    row("an unchanged tick repaints nothing", "start tick watch tick ?repainted=0_0_0");
    row("changed figures repaint only their numbers",
        "start tick watch mem:133693440/40961024 tick ?repainted=0_0_2");
    // The yellow middle segment is the same in both schemes.
    row("a new scheme repaints the lit segments, not the dark ones",
        "set:Section_1=2 start tick watch tap:title0 "
        "?repainted=3_18_1");
    row("a moving bar repaints only the segments that change",
        "set:Section_1=0 start tick watch mem:133693440/30000000 tick "
        "?repainted=0_12_6");
    // Title clicks.
    row("no drive found: total, C:, then back",
        "drives:0 set:Section_1=6 start tap:title0 ?p0=UD_1070/900_G2R_C:@870 tap:title0 "
        "?p0=URP_1460/500_G2R_- ?step=0");
    row("C: and D: found: nine clicks for a full cycle",
        "drives:2 set:Section_1=0 start tap:title0 ?p0=URK_1150/830_design_- tap:title0 "
        "?p0=URM_1180/830_design_- tap:title0 ?p0=FRP_1400/530_R2G_- tap:title0 "
        "?p0=FRK_1080/900_R2G_- "
        "tap:title0 ?p0=FRM_1110/900_R2G_- tap:title0 ?p0=TRK_1120/900_R2G_- tap:title0 "
        "?p0=UD_1070/900_G2R_C:@870 tap:title0 ?p0=UD_1070/900_G2R_D:@870 "
        "?sections=8_4_5_0_1_2_6_7 "
        "?step=1 tap:title0 ?p0=URP_1460/500_G2R_- ?step=0");
    row("every letter found: the walk reaches Z:",
        "drives:24 set:Section_1=7 start tap:title0 tap:title0 tap:title0 tap:title0 tap:title0 "
        "tap:title0 tap:title0 tap:title0 tap:title0 tap:title0 tap:title0 tap:title0 tap:title0 "
        "tap:title0 tap:title0 tap:title0 tap:title0 tap:title0 tap:title0 tap:title0 tap:title0 "
        "tap:title0 tap:title0 ?p0=UD_1070/900_G2R_Z:@870 tap:title0 ?sections=0_4_5_0_1_2_6_7");
    row("the walk is shared: C: to E: found, the next drive click wraps",
        "drives:3 set:Section_1=7 set:Section_2=6 start tap:title0 tap:title0 ?step=2 tap:title1 "
        "?sections=9_7_5_0_1_2_6_7 ?step=2 tap:title1 ?sections=9_0_5_0_1_2_6_7");
    row("the walk is shared: C: to F: found, it goes on to F:",
        "drives:4 set:Section_1=7 set:Section_2=6 start tap:title0 tap:title0 tap:title1 "
        "tap:title1 ?sections=9_10_5_0_1_2_6_7");
    row("a click changes the look at once, the reading at the next tick",
        "set:Section_1=2 start tick ?cap0=88_MB tap:title0 ?p0=FRP_1400/530_R2G_- ?cap0=88_MB "
        "?lit0=19 tick ?cap0=30% ?lit0=8");
    row("only a title takes the press: not the LEDs nor the number",
        "set:Section_3=0 start tick tap:led2 tap:number2 ?sections=3_4_0_0_1_2_6_7 tap:title2 "
        "?sections=3_4_1_0_1_2_6_7");
    row("a double-click on a title is two clicks",
        "set:Section_1=0 start press:title0 release:title0 dbl:title0 release:title0 "
        "?sections=2_4_5_0_1_2_6_7");
    row("a letter with no volume shows a dash on a dark bar, not an empty disk",
        "drives:5 set:Section_1=20 start tick ?cap0=\u2013 ?lit0=0 "
        "?tip0=P:_no_drive_has_this_letter");
    row("tooltips name how a figure is made, or the drive's mount point",
        "drives:2 set:Section_1=7 start ?tip0=C:_/ "
        "?tip2=Free_RAM_=_available_memory_(what_programs_can_still_use)");
    // Keys.
    row("F2 shows used RAM percent alone and keeps the other panels",
        "set:Section_8=9 start key:F2 key:F2 ?mode=1 ?window=444,260,136,45 ?p0=URP_1460/500_G2R_- "
        "?sections=0_4_5_0_1_2_6_9 ?p5=URM_1110/900_design_-");
    row("F3 and F5 place free RAM percent their own ways",
        "start key:F3 ?p0=FRP_1460/500_R2G_- key:F5 ?mode=2 ?window=444,260,136,103 "
        "?p1=FRP_1460/530_R2G_- ?p2=TRK_1120/900_R2G_-");
    row("F11 puts C: on panel 7, found or not",
        "drives:0 start key:F11 ?mode=4 ?p7=UD_1070/900_G2R_C:@870 ?step=7 "
        "?sections=0_1_2_3_4_5_6_7");
    row("F12 with no drive changes nothing",
        "drives:0 start key:F12 ?mode=4 ?window=444,260,136,248 ?sections=3_4_5_0_1_2_6_7");
    row("F12 with three drives",
        "drives:3 start key:F12 ?mode=2 ?window=444,260,136,103 ?step=2 "
        "?p2=UD_1070/900_G2R_E:@870 ?sections=7_8_9_0_1_2_6_7");
    row("F12 with twelve drives fills eight panels",
        "drives:12 start key:F12 ?mode=4 ?step=7 ?p7=UD_1070/900_G2R_J:@870 "
        "?sections=7_8_9_10_11_12_13_14");
    row("F1 shows the help window and changes nothing else",
        "start key:F1 key:F1 ?host=help_2_unloads_0 ?mode=4");
    row("a preset keeps the window's place, even below the screen",
        "start press:logo move:0,300,left release:logo key:F8 ?window=444,560,136,161 ?mode=3");
    // The window's own controls.
    row("the size button steps 1, 3, 6, 8 panels from where the window was",
        "set:Panels=1 set:Left=1500 set:Top=750 start tap:size ?window=100,50,136,103 ?mode=2 "
        "tap:size "
        "?window=100,50,136,190 ?mode=8 tap:size ?window=100,50,136,248 ?mode=4 tap:size "
        "?window=100,50,136,45 ?mode=1");
    row("a window left at six panels comes back at six, and the cycle goes on",
        "set:Panels=8 start ?window=444,260,136,190 tap:size ?window=444,260,136,248 ?mode=4");
    row("the size button does nothing after F4",
        "start key:F4 tap:size ?mode=5 ?window=444,260,136,74 ?faces=");
    row("a double-click on the logo steps from any code",
        "start key:F4 press:logo release:logo dbl:logo release:logo ?mode=2 "
        "?window=444,260,136,103 "
        "key:F10 press:logo release:logo dbl:logo ?mode=4 ?window=444,260,136,248");
    row("a double-click that reaches below the screen rests the window on its bottom",
        "set:Panels=1 set:Top=10500 start press:logo release:logo dbl:logo "
        "?window=444,665,136,103");
    row("the size button never lifts the window",
        "set:Panels=1 set:Top=10500 start tap:size ?window=444,700,136,103");
    row("the pins: the left, top and right edges of the screen",
        "start tap:< ?window=0,260,136,248 ?lng=0,260 tap:^ ?window=0,0,136,248 tap:> "
        "?window=888,0,136,248 ?lng=888,0");
    row("where moves are refused, a pin still tells the size cycle where it was meant to go",
        "start refuse tap:> ?window=444,260,136,248 ?lng=888,260 unload "
        "?saved=6660_3900_3_4_5_0_1_2_6_7_4");
    row("where the window's place is not told, the stored one is kept",
        "set:Left=1515 set:Top=1530 start unknown unload ?saved=1515_1530_3_4_5_0_1_2_6_7_4");
    row("a pin is a click: released off its arrow, nothing moves",
        "start press:< release:logo ?window=444,260,136,248");
    row("only the left button alone drags by the logo",
        "start press:logo move:20,30,right move:20,30,both ?window=444,260,136,248 "
        "move:20,30,left release:logo ?window=464,290,136,248");
    row("pressed faces show only while held",
        "start press:size ?faces=imgMin2 release:size ?faces= press:help ?faces=imgHelp2 "
        "release:help "
        "?faces= ?host=help_1_unloads_0 press:close ?faces=imgClose3 ?host=help_1_unloads_0 "
        "release:close ?host=help_1_unloads_1");
    // Saving.
    row("the unload saves once, from the window's real place",
        "set:Section_5=12 start tap:> unload unload ?commits=1 "
        "?saved=13320_3900_3_4_5_0_12_2_6_7_4");
    row("a change is saved a second later; nothing is written while nothing changes",
        "start tick tap:led0 press:logo release:logo ?pending=no tap:title0 ?pending=yes unload "
        "?pending=no ?commits=1");
    row("a drag that comes back saves nothing",
        "start press:logo move:20,30,left move:-20,-30,left ?pending=no release:logo ?pending=no");
}

QTEST_GUILESS_MAIN(TestGauge)
#include "tst_gauge.moc"
