#pragma once

namespace tqplatform::Internal {

/// A result set whose rows are still coming over a connection. The connection settles it
/// (reads the rest) before it runs anything else, since a driver would otherwise drop the
/// rows not yet read.
class PendingRead {
public:
    virtual ~PendingRead() = default;
    virtual void settle() noexcept = 0;
};

}  // namespace tqplatform::Internal
