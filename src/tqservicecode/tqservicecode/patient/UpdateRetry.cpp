#include <tqservicecode/patient/UpdateRetry.h>

#include <tqservicecode/component/ComponentContext.h>

#include <tqglobal/Error.h>
#include <tqplatform/Vb.h>
#include <tqplatform/ui.h>

#include <QElapsedTimer>
#include <QThread>

namespace tqservicecode {

namespace {
const QString CrLf = QStringLiteral("\r\n");
}

UpdateRetry::UpdateRetry(double windowSeconds) : m_windowSeconds(windowSeconds) {}

QString UpdateRetry::retryMessage(long number, int line, const QString& description) {
    return QStringLiteral("An unexpected situation [ Code : ") + QString::number(number) +
           QStringLiteral(",  Level : ") + QString::number(line) + QStringLiteral(" ] ") +
           QStringLiteral("has occured while updating.") + CrLf + CrLf +
           QStringLiteral("Message :") + CrLf + description + CrLf + CrLf +
           QStringLiteral("Click Retry to have Tavix Windows attempt the update again ") +
           QStringLiteral("or Cancel to discard all changes.") +
           QStringLiteral(" If situation persists, Please call Tavix Support.");
}

double UpdateRetry::waitSeconds() const {
    // Whole-number division spreads the retries of different users.
    const int user = std::max(1, static_cast<int>(tqplatform::vb::Val(GIC().GetCurrentUserName())));
    return (0.5 + static_cast<double>(1 / user)) * m_windowSeconds / 5.0;
}

void UpdateRetry::wait(double seconds) {
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < static_cast<qint64>(seconds * 1000)) {
        tqplatform::ui::doEvents();
        QThread::msleep(10);
    }
}

void UpdateRetry::run(const std::function<void()>& statement) {
    QElapsedTimer window;
    for (;;) {
        try {
            statement();
            return;
        } catch (const tqGlobal::Error& error) {
            if (error.number() == tqGlobal::ErrorNumber::NoCurrentRecord ||
                error.number() == tqGlobal::ErrorNumber::InvalidUseOfNull) {
                return;  // passed over: the posting goes on with the next statement
            }
            if (!window.isValid()) {
                window.start();
            }
            if (window.elapsed() >= static_cast<qint64>(m_windowSeconds * 1000)) {
                const int answer = tqplatform::ui::msgBox(
                    retryMessage(error.number(), error.line(), error.description()),
                    tqplatform::ui::Buttons::RetryCancel | tqplatform::ui::Buttons::Exclamation,
                    QStringLiteral("Tavix Windows"));
                if (answer != tqplatform::ui::Answer::Retry) {
                    throw UpdateCancelled{};
                }
                window.restart();
            }
            tqplatform::ui::WaitCursor hourglass;
            wait(waitSeconds());
            ++m_retries;
        }
    }
}

}  // namespace tqservicecode
