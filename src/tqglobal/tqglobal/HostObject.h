#pragma once

namespace tqGlobal {

/// Any object the host hands to the component. The component only keeps references
/// to these; it never releases what it borrowed.
class HostObject {
public:
    virtual ~HostObject() = default;
};

}  // namespace tqGlobal
