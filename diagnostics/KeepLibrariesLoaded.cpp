// Linked into every program of the sanitizer build only. LeakSanitizer looks for leaks as the process ends, when
// glfwTerminate has already unloaded the GL driver: the driver's frames (caches it keeps for the process's life)
// then have no module name, and the driver suppressions in scripts/lsan.supp cannot match them, so every run
// would report a leak that is not the game's. A library that is never unloaded keeps its name.
extern "C" int dlclose(void*) { return 0; }
