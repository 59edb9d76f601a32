# Build options that make CI stricter or cheaper. Included from the top-level CMakeLists.txt
# after its compile options and before any target, so that these flags reach every target.

# Off by default: another compiler version may warn where ours does not, and a developer's
# build should not stop for that. CI turns it on.
option(PLINTOR_WERROR "Treat compiler warnings as errors" OFF)
if(PLINTOR_WERROR)
  add_compile_options(-Werror)
endif()

# Off leaves out everything that needs GTK and WebKitGTK: the front end's targets, the program,
# the end-to-end tests and the unit tests that run the program. What stays (core, platform,
# unit and X11 tests) builds in a fraction of the time, which is what a sanitizer build needs.
option(PLINTOR_BUILD_UI "Build the GTK front end and the program" ON)

# The engine's web process extension is a shared module that links the core.
set(CMAKE_POSITION_INDEPENDENT_CODE ON)

# A sanitizer finding must fail the test that triggers it. ASan stops on its own; UBSan only
# prints and goes on unless it is built to stop.
if(PLINTOR_SANITIZE)
  add_compile_options(-fno-sanitize-recover=undefined)
  add_link_options(-fno-sanitize-recover=undefined)
endif()
