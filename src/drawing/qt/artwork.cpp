// SPDX-FileCopyrightText: 2026 The Kelvane developers
// SPDX-License-Identifier: MIT

#include "drawing/qt/artwork.h"

#include <QImage>

namespace kelvane {

QPixmap ArtworkAt(const QPixmap& normal, const QPixmap& dense, qreal ratio) {
    if (ratio == 1.0) {
        return normal;
    }
    if (ratio == 2.0) {
        return dense;
    }
    const QSize size = (QSizeF(normal.size()) * ratio).toSize();
    QPixmap scaled = QPixmap::fromImage(
        dense.toImage().scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
    scaled.setDevicePixelRatio(ratio);
    return scaled;
}

}  // namespace kelvane
