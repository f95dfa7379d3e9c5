// Linked into every program of the sanitizer build, and only there.
//
// GL's drivers are loaded with dlopen and unloaded when the window closes. A
// leak a driver leaves behind is then reported at exit from an address no
// library owns any more: it has no name, and no suppression can match it.
// Leaving every library loaded until the process ends keeps their names on
// the leak reports, where the suppressions find them.
extern "C" int dlclose(void*) { return 0; }
