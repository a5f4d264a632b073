#include "companion.h"

/* 7.50, patch level 0, in the form RfcGetVersion gives: major 7500. */
struct CompanionVersion rfcsim_companion_version(void) {
    struct CompanionVersion version = {7500, 0, 0};
    return version;
}
