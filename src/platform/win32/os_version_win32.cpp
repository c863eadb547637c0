#include <windows.h>

#include "platform/os_version.h"

namespace platform {

static_assert(sizeof(OSVERSIONINFOA) == 148, "the version record without the service-pack fields");

bool QuerySystemVersion(SystemVersion* version) {
    OSVERSIONINFOA info;
    ZeroMemory(&info, sizeof info);
    info.dwOSVersionInfoSize = sizeof info;
    if (!GetVersionExA(&info)) return false;
    version->platformId = info.dwPlatformId;
    version->major = info.dwMajorVersion;
    version->minor = info.dwMinorVersion;
    return true;
}

}  // namespace platform
