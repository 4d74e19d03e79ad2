// The window on a screen of device pixel ratio 2 (QT_SCALE_FACTOR=2, set by CTest): twice
// the design size in device pixels, with segment borders and pictures drawn at that
// density, never a 1x bitmap blown up.

#include <QPainter>
#include <QtTest>

#include "fakes/gauge_probe.h"

using namespace kelvane;

namespace {

constexpr int kRatio = 2;

QImage Grab(QWidget* widget) {
    return widget->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

}  // namespace

class TestHighDpi : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase();
    void windowIsTwiceTheDesignSize();
    void segmentBordersAreWholeDevicePixels();
    void picturesUseTheirDoubleDensityArtwork_data();
    void picturesUseTheirDoubleDensityArtwork();
};

void TestHighDpi::initTestCase() {
    FakeGauge g;
    g.Start();
    QCOMPARE(g.window.devicePixelRatioF(), kRatio);
}

void TestHighDpi::windowIsTwiceTheDesignSize() {
    FakeGauge g;
    g.Start();
    const QPixmap shot = g.window.grab();
    QCOMPARE(shot.size(), QSize(272, 496));
    QCOMPARE(shot.devicePixelRatio(), kRatio);
}

// Every device pixel of a lit segment is either exactly black (its border, two device
// pixels wide) or exactly its fill; a scaled-up or smoothed bitmap would blend the two.
void TestHighDpi::segmentBordersAreWholeDevicePixels() {
    FakeGauge g;
    g.Start();
    g.window.TurnOnLights(0);
    const QImage shot = Grab(&g.window);
    for (int n = 0; n < kSegments; ++n) {
        const LedSegment* segment = g.window.imgRamUse[static_cast<std::size_t>(n)][0];
        const QRect device(segment->geometry().topLeft() * kRatio,
                           segment->geometry().size() * kRatio);
        const QRect inside = device.adjusted(kRatio, kRatio, -kRatio, -kRatio);
        const Rgb fill = segment->Fill();
        const QRgb fillRgb = qRgb(fill.red, fill.green, fill.blue);
        for (int y = device.top(); y <= device.bottom(); ++y) {
            for (int x = device.left(); x <= device.right(); ++x) {
                const QRgb expected = inside.contains(x, y) ? fillRgb : qRgb(0, 0, 0);
                QVERIFY2(shot.pixel(x, y) == expected,
                         qPrintable(QStringLiteral("segment %1 at device pixel %2,%3: %4, not %5")
                                        .arg(n + 1)
                                        .arg(x)
                                        .arg(y)
                                        .arg(shot.pixel(x, y), 8, 16)
                                        .arg(expected, 8, 16)));
            }
        }
    }
}

void TestHighDpi::picturesUseTheirDoubleDensityArtwork_data() {
    QTest::addColumn<QString>("name");
    FakeGauge g;
    QStringList names;
    for (const Picture* picture : g.window.findChildren<Picture*>()) {
        if (!names.contains(picture->PictureName())) {
            names << picture->PictureName();
        }
    }
    for (const QString& name : names) {
        QTest::newRow(qPrintable(name)) << name;
    }
}

// Each picture, drawn on its own, shows its @2x artwork pixel for pixel over the window's
// white.
void TestHighDpi::picturesUseTheirDoubleDensityArtwork() {
    QFETCH(QString, name);
    const QString dense = QStringLiteral(":/pictures/%1@2x.png").arg(name);
    QVERIFY2(QFile::exists(dense), qPrintable(dense + QStringLiteral(" is missing")));

    FakeGauge g;
    g.Start();
    Picture* picture = nullptr;
    for (Picture* candidate : g.window.findChildren<Picture*>()) {
        if (candidate->PictureName() == name) {
            picture = candidate;
            break;
        }
    }
    QVERIFY(picture);
    const QImage shot = Grab(picture);

    QImage artwork(dense);
    artwork.setDevicePixelRatio(1.0);  // its own pixels, one to one
    QImage expected(picture->size() * kRatio, QImage::Format_RGB32);
    expected.fill(Qt::white);
    QPainter painter(&expected);
    painter.drawImage(0, 0, artwork);
    painter.end();
    QCOMPARE(shot.size(), expected.size());
    for (int y = 0; y < expected.height(); ++y) {
        for (int x = 0; x < expected.width(); ++x) {
            QVERIFY2(shot.pixel(x, y) == expected.pixel(x, y),
                     qPrintable(QStringLiteral("%1 differs from its artwork at %2,%3")
                                    .arg(name)
                                    .arg(x)
                                    .arg(y)));
        }
    }
}

QTEST_MAIN(TestHighDpi)
#include "tst_high_dpi.moc"
