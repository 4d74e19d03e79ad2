// The panels' number label paints its caption glyph by glyph instead of through QLabel's text
// layout: what it shows must be what a plain QLabel shows, pixel for pixel, and it must
// repaint when its caption changes.

#include <QLabel>
#include <QPainter>
#include <QtTest>

#include "window/controls.h"
#include "window/fonts.h"
#include "window/number_label.h"

using namespace kelvane;

namespace {

// As the main window sets up its labels.
void MakeWhite(QLabel* label) {
    StyleWhiteLabel(label, NumberFont());
    label->resize(60, 12);
}

QImage Render(QWidget* widget, int ratio) {
    QImage image(widget->size() * ratio, QImage::Format_RGB32);
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::red);  // shows through wherever the label leaves a pixel unpainted
    widget->render(&image);
    return image;
}

class PaintCounter : public QObject {
  public:
    int paints = 0;

  protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            ++paints;
        }
        return false;
    }
};

}  // namespace

class TestNumberLabel : public QObject {
    Q_OBJECT
  private slots:
    void paintsWhatQLabelPaints_data();
    void paintsWhatQLabelPaints();
    void repaintsOnlyWhenItsCaptionChanges();
};

void TestNumberLabel::paintsWhatQLabelPaints_data() {
    QTest::addColumn<QString>("caption");
    QTest::addColumn<int>("ratio");
    for (const int ratio : {1, 2}) {
        const auto row = [ratio](const char* name) -> QTestData& {
            return QTest::addRow("%s at ratio %d", name, ratio);
        };
        row("percent") << "70%" << ratio;
        row("whole kilobytes") << "90560 KB" << ratio;
        row("kilobytes with a fraction") << "48828.125 KB" << ratio;
        row("a comma for the point") << "48828,125 KB" << ratio;
        row("megabytes") << "2539 MB" << ratio;
        row("the widest caption of 64 GiB") << "67108864 KB" << ratio;
        row("wider than the label is clipped alike") << "1234567890123 KB" << ratio;
        row("no caption yet") << "" << ratio;
        row("a point beyond ASCII") << QStringLiteral("48828\u066B125 KB") << ratio;
    }
}

void TestNumberLabel::paintsWhatQLabelPaints() {
    QFETCH(QString, caption);
    QFETCH(int, ratio);
    QWidget window;
    QLabel plain(&window);
    NumberLabel number(&window);
    MakeWhite(&plain);
    MakeWhite(&number);
    plain.setText(caption);
    number.setText(caption);
    const QImage expected = Render(&plain, ratio);
    QCOMPARE(Render(&number, ratio), expected);
    // The same label again, after its glyphs have been laid out once.
    QCOMPARE(Render(&number, ratio), expected);
}

void TestNumberLabel::repaintsOnlyWhenItsCaptionChanges() {
    QWidget window;
    NumberLabel number(&window);
    MakeWhite(&number);
    window.resize(100, 40);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    number.setText(QStringLiteral("40000 KB"));
    QCoreApplication::sendPostedEvents();

    PaintCounter counter;
    number.installEventFilter(&counter);
    number.setText(QStringLiteral("40001 KB"));
    QCoreApplication::sendPostedEvents();
    QCOMPARE(counter.paints, 1);
    number.setText(QStringLiteral("40001 KB"));
    QCoreApplication::sendPostedEvents();
    QCOMPARE(counter.paints, 1);
}

QTEST_MAIN(TestNumberLabel)
#include "tst_number_label.moc"
