#include <tqservicecode/patient/UpdateRetry.h>

#include <tqservicecode/core/ComponentContext.h>

#include <tqglobal/Error.h>
#include <tqplatform/Vb.h>
#include <tqplatform/ui.h>

#include <QThread>

#include <cmath>
#include <exception>

namespace tqservicecode {

namespace {
const QString CrLf = QStringLiteral("\r\n");
/// VB's number for a failing object ("Automation error").
constexpr long ObjectFailed = 440;
double g_defaultWindow = 5.0;
}  // namespace

UpdateRetry::UpdateRetry(double windowSeconds) : m_windowSeconds(windowSeconds) {}

double UpdateRetry::defaultWindow() {
    return g_defaultWindow;
}

void UpdateRetry::setDefaultWindow(double seconds) {
    g_defaultWindow = seconds;
}

QString UpdateRetry::retryMessage(long number, int line, const QString& description) {
    return QStringLiteral("An unexpected situation [ Code : ") + QString::number(number) +
           QStringLiteral(",  Level : ") + QString::number(line) + QStringLiteral(" ] ") +
           QStringLiteral("has occured while updating.") + CrLf + CrLf +
           QStringLiteral("Message :") + CrLf + description + CrLf + CrLf +
           QStringLiteral("Click Retry to have Tavix Windows attempt the update again ") +
           QStringLiteral("or Cancel to discard all changes.") +
           QStringLiteral(" If situation persists, Please call Tavix Support.");
}

double UpdateRetry::waitSeconds(const QString& userName) {
    double user = 1.0;
    try {
        user = tqplatform::vb::Val(userName);
    } catch (const tqGlobal::Error&) {
        // Beyond the range of a number: as large as a number gets, with its sign.
        user = userName.trimmed().startsWith(QLatin1Char('-')) ? -HUGE_VAL : HUGE_VAL;
    }
    // "\" rounds its operands half to even before dividing: 1 \ n is 1 for a number that
    // rounds to 1 (from 1 up to, not including, 1.5) and 0 for anything larger. Below 1
    // (and not a number at all) counts as 1.
    const bool roundsToOne = !(user >= 1.5);
    return 0.5 + (roundsToOne ? 1.0 : 0.0);
}

void UpdateRetry::wait(double seconds) {
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < static_cast<qint64>(seconds * 1000)) {
        tqplatform::ui::doEvents();
        QThread::msleep(10);
    }
}

bool UpdateRetry::attempt(const std::function<void()>& statement, long& number, int& line,
                          QString& description) {
    try {
        statement();
        return true;
    } catch (const UpdateCancelled&) {
        throw;
    } catch (const tqGlobal::Error& error) {
        number = error.number();
        line = error.line();
        description = error.description();
    } catch (const std::exception& error) {
        number = ObjectFailed;
        line = 0;
        description = QString::fromLocal8Bit(error.what());
    } catch (...) {
        number = ObjectFailed;
        line = 0;
        description = QStringLiteral("The host failed without giving a reason.");
    }
    return false;
}

void UpdateRetry::run(const std::function<void()>& statement) {
    long number = 0;
    int line = 0;
    QString description;
    while (!attempt(statement, number, line, description)) {
        if (number == tqGlobal::ErrorNumber::NoCurrentRecord ||
            number == tqGlobal::ErrorNumber::InvalidUseOfNull) {
            return;  // passed over: the update goes on with the next statement
        }
        if (!m_window.isValid()) {
            m_window.start();
        }
        if (m_window.elapsed() >= static_cast<qint64>(m_windowSeconds * 1000)) {
            const int answer = tqplatform::ui::msgBox(
                retryMessage(number, line, description),
                tqplatform::ui::Buttons::RetryCancel | tqplatform::ui::Buttons::Exclamation,
                QStringLiteral("Tavix Windows"));
            if (answer != tqplatform::ui::Answer::Retry) {
                throw UpdateCancelled{};
            }
            m_window.restart();
        }
        tqplatform::ui::WaitCursor hourglass;
        QString user;
        try {
            user = GIC().GetCurrentUserName();
        } catch (...) {
            // A host that cannot name its user is user 1.
        }
        wait(waitSeconds(user) * m_windowSeconds / 5.0);
        ++m_retries;
    }
}

}  // namespace tqservicecode
