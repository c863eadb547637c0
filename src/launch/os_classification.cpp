#include "launch/os_classification.h"

#include "config/menu_model.h"
#include "launch/launch_conditions.h"
#include "platform/os_version.h"
#include "platform/registry.h"

void ClassifyOperatingSystem() {
    platform::SystemVersion version{};
    SystemFacts facts{};
    facts.versionRead = platform::QuerySystemVersion(&version);
    facts.platformId = version.platformId;
    facts.major = version.major;
    facts.minor = version.minor;

    // Only the NT family has a product type.
    char productType[kProductTypeCapacity];
    uint32_t size = 0;
    if (facts.versionRead && facts.platformId == kPlatformNt) {
        facts.productTypeRead =
            platform::ReadMachineValue(kProductOptionsKey, kProductTypeValue, productType, sizeof productType, &size);
        facts.productType = productType;
        facts.productTypeSize = size;
    }
    ClassifySystem(facts, &menu.osKind, &menu.osVersion);
}
