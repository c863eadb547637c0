#pragma once
// The version of the running operating system, as the system reports it.

#include <cstdint>

namespace platform {

struct SystemVersion {
    uint32_t platformId;  // 2 for the NT family
    uint32_t major;
    uint32_t minor;
};

// False when the system does not answer.
bool QuerySystemVersion(SystemVersion* version);

}  // namespace platform
