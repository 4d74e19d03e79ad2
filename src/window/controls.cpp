#include "window/controls.h"

#include <QFile>
#include <QMouseEvent>
#include <QPainter>

#include "core/number_text.h"

namespace kelvane {

int TwipsToPixels(double twips) {
    return static_cast<int>(RoundHalfEven(twips / 15.0));
}

void PlaceTwips(QWidget* control, int left, int top, int width, int height) {
    control->setGeometry(TwipsToPixels(left), TwipsToPixels(top), TwipsToPixels(width),
                         TwipsToPixels(height));
}

void SetLeftTwips(QWidget* control, int left) {
    control->move(TwipsToPixels(left), control->y());
}

void SetWidthTwips(QWidget* control, int width) {
    const int pixels = TwipsToPixels(width);
    if (control->minimumWidth() == control->maximumWidth()) {
        control->setFixedWidth(pixels);  // a control of fixed size stays fixed
    } else {
        control->resize(pixels, control->height());
    }
}

void StyleWhiteLabel(QLabel* label, const QFont& font) {
    label->setFont(font);
    label->setAutoFillBackground(true);
    QPalette palette = label->palette();
    palette.setColor(QPalette::Window, Qt::white);
    palette.setColor(QPalette::WindowText, Qt::black);
    label->setPalette(palette);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setMargin(0);
    label->setIndent(0);
}

namespace {

QPointF ToTwips(const QMouseEvent* event) {
    return event->position() * 15.0;
}

}  // namespace

LedSegment::LedSegment(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void LedSegment::SetFill(Rgb colour) {
    if (colour == fill_) {
        return;
    }
    fill_ = colour;
    update();
}

void LedSegment::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::black);
    painter.fillRect(rect().adjusted(1, 1, -1, -1), QColor(fill_.red, fill_.green, fill_.blue));
}

Picture::Picture(const QString& pictureName, QWidget* parent)
    : QWidget(parent),
      name_(pictureName),
      normal_(QStringLiteral(":/pictures/%1.png").arg(pictureName)) {
    const QString dense = QStringLiteral(":/pictures/%1@2x.png").arg(pictureName);
    if (QFile::exists(dense)) {
        dense_.load(dense);
        dense_.setDevicePixelRatio(2.0);
    }
}

void Picture::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const bool useDense = !dense_.isNull() && devicePixelRatioF() > 1.0;
    painter.drawPixmap(0, 0, useDense ? dense_ : normal_);
}

void Picture::mousePressEvent(QMouseEvent* event) {
    if (!interactive_) {
        event->ignore();
        return;
    }
    clickPending_ = true;
    emit pressed(event->button(), ToTwips(event));
}

void Picture::mouseReleaseEvent(QMouseEvent* event) {
    if (!interactive_) {
        event->ignore();
        return;
    }
    emit released(event->button());
    if (clickPending_ && rect().contains(event->position().toPoint())) {
        clickPending_ = false;
        emit clicked();
    }
    clickPending_ = false;
}

void Picture::mouseMoveEvent(QMouseEvent* event) {
    if (!interactive_) {
        event->ignore();
        return;
    }
    emit moved(event->buttons(), ToTwips(event));
}

void Picture::mouseDoubleClickEvent(QMouseEvent* event) {
    if (!interactive_) {
        event->ignore();
        return;
    }
    if (doubleClickIsPress_) {
        mousePressEvent(event);
        return;
    }
    clickPending_ = false;
    emit doubleClicked();
}

ClickLabel::ClickLabel(const QString& caption, QWidget* parent) : QLabel(caption, parent) {}

void ClickLabel::mousePressEvent(QMouseEvent* event) {
    pressed_ = true;
    event->accept();
}

void ClickLabel::mouseReleaseEvent(QMouseEvent* event) {
    const bool inside = rect().contains(event->position().toPoint());
    if (pressed_ && inside) {
        emit clicked();
    }
    pressed_ = false;
}

OutlineBox::OutlineBox(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void OutlineBox::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

}  // namespace kelvane
