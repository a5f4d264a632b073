// Inside the simulator, not exported: what the unit tests need besides the
// library operations themselves.
#pragma once

#include <chrono>

namespace rfcsim {

// Forgets everything since the process started: the scenario (read again on
// the next open), the handler, handles, line types, tables and the last
// error, and a waiter installed below. Each unit test starts from a fresh
// process this way.
void reset_simulator();

// What an operation does with a scenario's delay: by default it sleeps. A
// test installs its own waiter to see which operation waits how long,
// without waiting.
using Waiter = void (*)(std::chrono::microseconds duration);
void set_waiter(Waiter waiter);

}  // namespace rfcsim
