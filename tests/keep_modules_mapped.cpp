// Preloaded into a test under LeakSanitizer: libraries that Qt's plugins and the graphics stack
// load and unload on the way (an EGL driver that finds no GPU, say) stay mapped until exit, so
// that memory they still point to is not reported as lost, and a report names its owner's
// module and functions instead of "<unknown module>".

extern "C" int dlclose(void*) {
    return 0;
}
