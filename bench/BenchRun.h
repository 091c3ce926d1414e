#pragma once

#include <tqplatform/Currency.h>
#include <tqplatform/ui.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <functional>

namespace tqbench {

/// Before the application object: screens draw offscreen unless a platform was asked for,
/// and each figure is printed as soon as it is known.
inline void prepareProcess() {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    std::setvbuf(stdout, nullptr, _IONBF, 0);
}

/// After the application object: money travels in variants, and a screen that would
/// wait on a real dialog fails instead of stopping the run.
inline void prepareApplication() {
    tqplatform::registerCurrencyMetaType();
    tqplatform::ui::setRealDialogsForbidden(true);
}

/// The longest time the event loop goes without running while action runs and until
/// done() holds: the gaps between the ticks of a 1 ms timer.
inline double longestBlockMs(
    const std::function<void()>& action, const std::function<bool()>& done = [] { return true; }) {
    QElapsedTimer clock;
    clock.start();
    qint64 last = clock.nsecsElapsed();
    qint64 longest = 0;
    int ticks = 0;
    QTimer ticker;
    ticker.setTimerType(Qt::PreciseTimer);
    ticker.setInterval(1);
    QObject::connect(&ticker, &QTimer::timeout, [&] {
        const qint64 now = clock.nsecsElapsed();
        longest = std::max(longest, now - last);
        last = now;
        ++ticks;
    });
    ticker.start();
    bool ran = false;
    QTimer::singleShot(0, [&] {
        action();
        ran = true;
    });
    while (!ran || !done()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents);
    }
    // The tick after the last block ends its gap.
    for (const int seen = ticks; ticks == seen;) {
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    return static_cast<double>(longest) / 1e6;
}

}  // namespace tqbench
