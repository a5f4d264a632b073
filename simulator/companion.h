/* The companion of sapnwrfc: a library of its own that sapnwrfc imports, so
 * that the system's loader must find it beside sapnwrfc, as SAP's library
 * needs its companions. It holds the version that RfcGetVersion reports. */
#pragma once

#include "rfc_abi.h"

#ifdef __cplusplus
extern "C" {
#endif

struct CompanionVersion {
    unsigned majorVersion;
    unsigned minorVersion;
    unsigned patchLevel;
};

RFC_EXPORT struct CompanionVersion rfcsim_companion_version(void);

#ifdef __cplusplus
}
#endif
