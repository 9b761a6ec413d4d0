// A library for the loader tests: one entry point, exported by name and (on Windows) as ordinal 5.
extern "C" int file_testlib_answer()
{
    return 42;
}
