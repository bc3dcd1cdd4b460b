#include "support/ForwardingFileServices.h"

#include "platform/PosixFileServices.h"

namespace scorvane::testing {

ForwardingFileServices::ForwardingFileServices() : own_(std::make_unique<PosixFileServices>()), target_(*own_) {}
ForwardingFileServices::~ForwardingFileServices() = default;

}  // namespace scorvane::testing
