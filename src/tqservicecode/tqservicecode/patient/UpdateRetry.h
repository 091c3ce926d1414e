#pragma once

#include <QElapsedTimer>
#include <QString>

#include <functional>

namespace tqservicecode {

/// Raised when the user cancels an update from the retry message: the posting stops and
/// goes to its last step.
struct UpdateCancelled {};

/// Runs the statements of an update so that passing trouble (a locked table, a busy
/// server) is retried instead of lost. An error other than "no current record" (3021) or
/// "invalid use of Null" (94), which are passed over, starts a five-second window in which
/// the failing statement is run again after a wait; the wait is 1.5 s for user number 1
/// and 0.5 s for everyone else, so that two workstations do not retry in step. When the
/// window has passed, the user is asked to retry (a new window) or to cancel (throws
/// UpdateCancelled).
///
/// One object serves one whole update: the window opens at the first failure of any of
/// its statements and is not reopened by the next statement that fails, so a host that
/// keeps failing is reported after five seconds however many statements it fails.
/// Whatever a statement throws counts as a failure: the host is a third party, and an
/// exception of its own is reported as VB reports a failing object, error 440.
class UpdateRetry {
public:
    /// seconds of the window; waits are scaled with it. Without a value, the process's
    /// default (5 s; setDefaultWindow).
    explicit UpdateRetry(double windowSeconds = defaultWindow());

    void run(const std::function<void()>& statement);

    /// The message shown when the window has passed.
    static QString retryMessage(long number, int line, const QString& description);

    /// The wait before a retry in a five-second window, for the user whose name is given:
    /// 0.5 s plus 1 divided by the user number as VB's "\" divides (the number rounded to
    /// a whole one, half to even, first). The number is the name's numeric value, at
    /// least 1; any value, however large, answers 0.5 or 1.5.
    static double waitSeconds(const QString& userName);

    /// The window of updates that name none (a host that wants quicker or slower
    /// reports, and tests).
    static double defaultWindow();
    static void setDefaultWindow(double seconds);

    int retries() const { return m_retries; }

private:
    void wait(double seconds);
    /// Runs statement once; on failure answers its error number, line and description.
    bool attempt(const std::function<void()>& statement, long& number, int& line,
                 QString& description);

    double m_windowSeconds;
    QElapsedTimer m_window;
    int m_retries = 0;
};

}  // namespace tqservicecode
