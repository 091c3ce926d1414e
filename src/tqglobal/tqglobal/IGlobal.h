#pragma once

#include <tqglobal/HostObject.h>

#include <memory>

namespace tqGlobal {

class IHostServices;

/// The host's global interface: the four global objects a component is handed.
/// Only GIC is ever called by a component; GC, PV and DAC are kept so the host can
/// read them back.
class IGlobal {
public:
    virtual ~IGlobal() = default;

    virtual void setDAC(std::shared_ptr<HostObject> value) = 0;
    virtual std::shared_ptr<HostObject> DAC() const = 0;
    virtual void setGIC(std::shared_ptr<IHostServices> value) = 0;
    virtual std::shared_ptr<IHostServices> GIC() const = 0;
    virtual void setGC(std::shared_ptr<HostObject> value) = 0;
    virtual std::shared_ptr<HostObject> GC() const = 0;
    virtual void setPV(std::shared_ptr<HostObject> value) = 0;
    virtual std::shared_ptr<HostObject> PV() const = 0;
};

}  // namespace tqGlobal
