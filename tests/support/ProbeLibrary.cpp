// A library for the tests to load and replace on disk, as a package update replaces one.
extern "C" int plintorProbe() {
    return 1;
}
