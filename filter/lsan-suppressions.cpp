// Built into the filter of the sanitizer build only. libcups loses memory of the cache it
// builds for a PPD (names, and the option arrays of the *APPrinterPreset presets) when
// print-color-mode or print-quality is marked, as pstops and this filter mark them:
// LeakSanitizer is told so here, as a filter started by cupsd gets no environment of the
// test's.

extern "C" __attribute__((visibility("default"))) const char* __lsan_default_suppressions() {
    return "leak:_ppdCacheCreateWithPPD\nleak:cupsAddOption\n";
}
