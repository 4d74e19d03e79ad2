// SPDX-FileCopyrightText: 2026 The Kelvane developers
// SPDX-License-Identifier: MIT

#include "gauge/telling.h"

#include <algorithm>

namespace kelvane {

Arrangement ArrangementNow(const GaugeAdapter& adapter, const Rect& place) {
    Arrangement now{adapter.VisiblePanels(), {}, place};
    for (int p = 0; p < kPanels; ++p) {
        now.readings[static_cast<std::size_t>(p)] = adapter.Reading(p);
    }
    return now;
}

std::string DescribeChange(const Arrangement& before, const Arrangement& now,
                           const GaugeAdapter& adapter, const Rect& screen) {
    int changed = 0;
    int last = -1;
    for (int p = 0; p < now.visible; ++p) {
        if (before.readings[static_cast<std::size_t>(p)] !=
            now.readings[static_cast<std::size_t>(p)]) {
            ++changed;
            last = p;
        }
    }
    if (now.visible == before.visible && changed == 1) {
        const PanelWords words = DescribePanel(adapter.Panel(last));
        return words.name + ", " + words.figure;
    }
    if (now.visible != before.visible || changed > 1) {
        std::string text =
            std::to_string(now.visible) + (now.visible == 1 ? " panel: " : " panels: ");
        for (int p = 0; p < now.visible; ++p) {
            text += (p > 0 ? ", " : "") + DescribePanel(adapter.Panel(p)).name;
        }
        return text;
    }
    if (now.place.TopLeft() == before.place.TopLeft()) {
        return {};
    }
    std::string edges;
    int n = 0;
    for (const auto& [at, edge] : {std::pair{now.place.x == screen.x, "left"},
                                   {now.place.Right() == screen.Right(), "right"},
                                   {now.place.y == screen.y, "top"}}) {
        if (at) {
            edges += (n++ > 0 ? " and " : "") + std::string(edge);
        }
    }
    return n == 0 ? std::string()
                  : "At the " + edges + (n == 1 ? " edge" : " edges") + " of the screen";
}

PanelNews PanelRounds::Round(const GaugeAdapter& adapter, bool figures) {
    PanelNews news;
    news.visible = adapter.VisiblePanels();
    const int known = fresh_ ? 0 : std::min(news.visible, visible_);
    news.reordered = !fresh_ && news.visible != visible_;
    for (int p = 0; p < news.visible; ++p) {
        const auto i = static_cast<std::size_t>(p);
        PanelWords words = DescribePanel(adapter.Panel(p));
        Told& told = told_[i];
        news.renamed[i] = p < known && words.name != told.name;
        news.refigured[i] = p < known && figures && words.figure != told.figure;
        told = {std::move(words.name), std::move(words.figure)};
    }
    visible_ = news.visible;
    fresh_ = false;
    return news;
}

}  // namespace kelvane
