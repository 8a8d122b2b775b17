// The unit tests are linked with LeakSanitizer alone (the game's code is built
// as it ships; only malloc is replaced), so each test's process ends with a leak
// check and a leak fails the test that made it. Its settings are built in, so
// that a test run by hand is checked the same way.
extern "C" {

// Mesa unloads its driver when the display closes, and LeakSanitizer can then
// neither name nor suppress that driver's frames: every library stays loaded.
int dlclose(void*) { return 0; }

// Its dynamic TLS records can hold a garbage address that faults the check at
// exit; unrecorded, those blocks are still reached through the heap.
const char* __lsan_default_options() {
  return "suppressions=" QUORVANE_SOURCE_DIR
         "/scripts/lsan.supp:print_suppressions=0:intercept_tls_get_addr=0";
}
}
