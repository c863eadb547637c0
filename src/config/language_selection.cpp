#include "config/language_selection.h"

// Until languages are offered, the configuration already loaded is used as it is.
bool SelectLanguage(platform::Window /*owner*/, int32_t /*index*/, bool /*fatal*/) {
    return true;
}
