#include "Runner.h"

#include "VirtualDevice.h"

namespace sim {

struct Runner::Device : VirtualDevice {
    using VirtualDevice::VirtualDevice;
};

Runner::Runner(const Scenario& scenario, RunOptions options, std::ostream& out, std::ostream& err)
    : device_(std::make_unique<Device>(scenario, std::move(options), out, err)) {}

Runner::~Runner() = default;

int Runner::run() { return device_->run(); }

} // namespace sim
