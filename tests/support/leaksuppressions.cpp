// Leaks the leak checker of a sanitized build should not report: caches that libraries keep
// for the life of the process. Linked into every test program, so that a plain ctest run
// needs no options.

extern "C" const char *__lsan_default_suppressions();

extern "C" const char *__lsan_default_suppressions()
{
    return "leak:libfontconfig.so\n";
}
