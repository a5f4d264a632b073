// Inside the simulator, not exported: what the unit tests need besides the
// library operations themselves.
#pragma once

namespace rfcsim {

// Forgets everything since the process started: the scenario (read again on
// the next open), the handler, handles, line types, tables and the last
// error. Each unit test starts from a fresh process this way.
void reset_simulator();

}  // namespace rfcsim
