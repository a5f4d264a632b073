// Inside the NetWeaver face, not exported: what its unit tests need besides
// the library operations themselves.
#pragma once

#include "simulator.h"

namespace rfcsim {

// Forgets everything since the process started: the scenario (read again on
// the next open), the ini path, connections, functions and a waiter
// installed below.
void reset_nw_simulator();

// The waiter of this face's delays (RfcOpenConnection, RfcInvoke); null
// puts back the one that sleeps.
void set_nw_waiter(Waiter waiter);

}  // namespace rfcsim
