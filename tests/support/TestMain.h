#pragma once

#include <tqplatform/Currency.h>
#include <tqplatform/ui.h>

#include <QApplication>
#include <QTest>

/// The main of every test: offscreen widgets, and no real modal dialog may wait for a
/// person who is not there.
#define TQ_TEST_MAIN(TestClass)                                         \
    int main(int argc, char** argv) {                                   \
        qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() \
                                       ? QByteArray("offscreen")        \
                                       : qgetenv("QT_QPA_PLATFORM"));   \
        QApplication app(argc, argv);                                   \
        app.setAttribute(Qt::AA_Use96Dpi, true);                        \
        tqplatform::registerCurrencyMetaType();                         \
        tqplatform::ui::setRealDialogsForbidden(true);                  \
        TestClass test;                                                 \
        QTEST_SET_MAIN_SOURCE_PATH                                      \
        return QTest::qExec(&test, argc, argv);                         \
    }
