#pragma once

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
class UpdateRetry {
public:
    /// seconds of the window; waits are scaled with it (tests shorten both).
    explicit UpdateRetry(double windowSeconds = 5.0);

    void run(const std::function<void()>& statement);

    /// The message shown when the window has passed.
    static QString retryMessage(long number, int line, const QString& description);

    int retries() const { return m_retries; }

private:
    void wait(double seconds);
    double waitSeconds() const;

    double m_windowSeconds;
    int m_retries = 0;
};

}  // namespace tqservicecode
