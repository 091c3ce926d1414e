#include "TestMain.h"

#include <tqplatform/Twips.h>

#include <QGuiApplication>
#include <QObject>
#include <QScreen>

namespace twips = tqplatform::twips;

class TestTwips : public QObject {
    Q_OBJECT

private slots:
    void conversions_data() {
        QTest::addColumn<double>("twips");
        QTest::addColumn<int>("pixels");

        // The test screen has 96 logical dots per inch: 15 twips a pixel.
        QTest::newRow("an inch") << 1440.0 << 96;
        QTest::newRow("rounds up") << 100.0 << 7;  // 6.67
        QTest::newRow("below half a pixel") << 7.0 << 0;
        QTest::newRow("above half a pixel") << 8.0 << 1;
        QTest::newRow("negative") << -1440.0 << -96;
    }

    void conversions() {
        QFETCH(double, twips);
        QFETCH(int, pixels);
        QCOMPARE(QGuiApplication::primaryScreen()->logicalDotsPerInchX(), 96.0);
        QCOMPARE(twips::toPixelsX(twips), pixels);
        QCOMPARE(twips::toPixelsY(twips), pixels);
        QCOMPARE(twips::fromPixelsX(pixels), pixels * 15.0);
        QCOMPARE(twips::fromPixelsY(pixels), pixels * 15.0);
    }
};

TQ_TEST_MAIN(TestTwips)

#include "tst_twips.moc"
