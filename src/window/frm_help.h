#pragma once

#include <QWidget>

namespace kelvane {

// The quick-help window.
class FrmHelp : public QWidget {
    Q_OBJECT
public:
    explicit FrmHelp(QWidget* parent = nullptr);
};

}  // namespace kelvane
