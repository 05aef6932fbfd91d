#include "device/platform.h"

namespace zelt {

std::unique_ptr<HidTransport> CreatePlatformTransport() { return nullptr; }

std::unique_ptr<FilterDriverTransport> CreatePlatformFilterDriver() { return nullptr; }

}  // namespace zelt
