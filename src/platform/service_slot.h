#pragma once

#include <atomic>

namespace lanxun {

// Holds one process-wide service: the real implementation, unless a test has
// installed its own. `Real` is made on first use, so a service that a test
// replaces from the start is never built. The installed pointer is atomic
// because workers reach services from their own threads.
//
// A service's .cpp keeps one slot and forwards its two public functions:
//
//     constinit ServiceSlot<ShellService, DesktopShell> slot;
//     ShellService& Shell() { return slot.Get(); }
//     void InstallShell(ShellService* service) { slot.Install(service); }
template <typename Interface, typename Real>
class ServiceSlot {
public:
    constexpr ServiceSlot() = default;
    ServiceSlot(const ServiceSlot&) = delete;
    ServiceSlot& operator=(const ServiceSlot&) = delete;

    Interface& Get() const {
        Interface* service = installed_.load();
        return service ? *service : RealInstance();
    }

    // Installs `service` (not owned; nullptr restores the real one) and returns
    // the one installed before, or nullptr when the real one was in use.
    Interface* Install(Interface* service) { return installed_.exchange(service); }

private:
    static Real& RealInstance() {
        static Real real;
        return real;
    }

    std::atomic<Interface*> installed_{nullptr};
};

}  // namespace lanxun
