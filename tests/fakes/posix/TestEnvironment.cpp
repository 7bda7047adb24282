// SPDX-License-Identifier: GPL-3.0-or-later
// Built into every test: the paths the build knows, for tests that start the real programs,
// unless the environment already names others.
#include <cstdlib>

namespace {

[[maybe_unused]] const bool kTestEnvironment = [] {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
#ifdef TARNWELL_TEST_SIM
  setenv("TARNWELL_SIM", TARNWELL_TEST_SIM, 0);
#endif
  return setenv("TARNWELL_BIN", TARNWELL_TEST_BIN, 0) == 0;
}();

}  // namespace
