#pragma once

#include <QLabel>
#include <QPixmap>
#include <QWidget>

#include "display/led_rules.h"

namespace kelvane {

// Converts twips to whole pixels: divide by 15, an exact half to the even neighbour.
int TwipsToPixels(double twips);
// Places a control by its twips geometry.
void PlaceTwips(QWidget* control, int left, int top, int width, int height);
// Moves a control's left edge, or changes its width, keeping everything else.
void SetLeftTwips(QWidget* control, int left);
void SetWidthTwips(QWidget* control, int width);
// The window's labels: black text on an opaque white ground, at the top left.
void StyleWhiteLabel(QLabel* label, const QFont& font);

// One LED segment: a filled rectangle with a one-pixel black border. It takes no mouse
// input, so presses reach whatever lies beneath it.
class LedSegment : public QWidget {
    Q_OBJECT
  public:
    explicit LedSegment(QWidget* parent);
    void SetFill(Rgb colour);
    Rgb Fill() const { return fill_; }

  protected:
    void paintEvent(QPaintEvent*) override;

  private:
    Rgb fill_{0, 0, 0};
};

// A picture from the program's resources, drawn 1:1 (with its @2x artwork on high-density
// screens). Interactive pictures report the mouse; the others let presses fall through to
// the window.
class Picture : public QWidget {
    Q_OBJECT
  public:
    Picture(const QString& pictureName, QWidget* parent);
    QString PictureName() const { return name_; }
    void SetInteractive(bool on) { interactive_ = on; }
    // With this off, the second press of a double-click reports only `doubleClicked`.
    void SetDoubleClickIsPress(bool on) { doubleClickIsPress_ = on; }

  signals:
    // Positions are in twips relative to the picture.
    void pressed(Qt::MouseButton button, QPointF twips);
    void released(Qt::MouseButton button);
    void moved(Qt::MouseButtons buttons, QPointF twips);
    void clicked();
    void doubleClicked();

  protected:
    void paintEvent(QPaintEvent*) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

  private:
    QString name_;
    QPixmap normal_;
    QPixmap dense_;
    bool interactive_ = false;
    bool doubleClickIsPress_ = true;
    bool clickPending_ = false;
};

// A label that reports a click (press and release on it).
class ClickLabel : public QLabel {
    Q_OBJECT
  public:
    ClickLabel(const QString& caption, QWidget* parent);

  signals:
    void clicked();

  protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    bool pressed_ = false;
};

// A rectangle outline in the window-text colour; transparent to the mouse.
class OutlineBox : public QWidget {
    Q_OBJECT
  public:
    explicit OutlineBox(QWidget* parent);

  protected:
    void paintEvent(QPaintEvent*) override;
};

}  // namespace kelvane
