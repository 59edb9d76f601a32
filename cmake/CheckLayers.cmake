# Fails when a source file includes a layer that its layer's table does not name. Run as
#   cmake -DROOT=<source folder> -P CheckLayers.cmake
# A layer is a top-level folder, or inside core/ and platform/ a folder of its own there
# (core/browser, platform/linux with everything under it); the files right in platform/ are the
# ports, layer "platform". The layers are listed bottom first, and a table may name only layers
# listed before its own: so the arrows have no cycle. Tests, benchmarks and tools may include
# anything.
cmake_minimum_required(VERSION 3.25)

# The core, bottom first: support (log, files, text, clock); browser (addresses, the matcher,
# the navigation rules); config (the configuration file and the lists); documents (fetching,
# keeping and converting documents); lockdown; keyboard; app (the program's rules and state);
# diagnostics (--check-config, --check-url).
set(core_layers core/support core/browser core/config core/documents core/lockdown core/keyboard
  core/app core/diagnostics)
set(allowed_core/support "")
set(allowed_core/browser core/support)
set(allowed_core/config core/support core/browser)
set(allowed_core/documents core/support core/browser core/config)
set(allowed_core/lockdown core/support)
set(allowed_core/keyboard core/support)
set(allowed_core/app core/support core/browser core/config core/documents core/lockdown)
set(allowed_core/diagnostics core/support core/browser core/config core/documents core/app)

# The ports, then one operating-system layer per build over them; the whole core is below.
set(platform_layers platform platform/posix platform/linux platform/win32)
set(allowed_platform ${core_layers})
set(allowed_platform/posix ${core_layers})
set(allowed_platform/linux ${core_layers} platform platform/posix)
set(allowed_platform/win32 ${core_layers} platform)

# The front end, which reaches the operating system through the ports: glib (main-loop and
# object ownership), widgets, documents, webext (the engine's web process extension), browser,
# keyboard, app.
set(front_layers glib widgets documents webext browser keyboard app)
set(allowed_glib ${core_layers})
set(allowed_widgets ${core_layers} glib)
set(allowed_documents ${core_layers} platform glib)
set(allowed_webext ${core_layers} glib)
set(allowed_browser ${core_layers} platform platform/posix glib widgets documents)
set(allowed_keyboard ${core_layers} platform glib widgets)
set(allowed_app ${core_layers} platform glib widgets documents browser keyboard)

set(layers ${core_layers} ${platform_layers} ${front_layers})
set(toolkit_includes "^#include <(Q|gtk/|gdk/|glib|webkit|jsc/|libsoup/)")

# The layer of a path below the source folder ("core/browser/Uri.h" is in core/browser).
function(layer_of path result)
  if(path MATCHES "^((core|platform)/[a-z0-9_]+)/")
    set(${result} "${CMAKE_MATCH_1}" PARENT_SCOPE)
  elseif(path MATCHES "^([a-z0-9_]+)/")
    set(${result} "${CMAKE_MATCH_1}" PARENT_SCOPE)
  else()
    set(${result} "" PARENT_SCOPE)
  endif()
endfunction()

set(violations "")

set(below "")
foreach(layer IN LISTS layers)
  foreach(target IN LISTS allowed_${layer})
    if(NOT target IN_LIST below)
      string(APPEND violations "\n  the table lets ${layer} include ${target}, which is not "
        "listed below it (an arrow back up makes a cycle)")
    endif()
  endforeach()
  list(APPEND below "${layer}")
endforeach()

foreach(top core platform ${front_layers})
  file(GLOB_RECURSE sources RELATIVE "${ROOT}" "${ROOT}/${top}/*.h" "${ROOT}/${top}/*.cpp")
  foreach(source IN LISTS sources)
    layer_of("${source}" layer)
    if(NOT layer IN_LIST layers)
      string(APPEND violations "\n  ${source}: its folder is no layer of the table")
      continue()
    endif()
    file(STRINGS "${ROOT}/${source}" includes REGEX "^#include [\"<]")
    foreach(line IN LISTS includes)
      if(line MATCHES "^#include \"([^\"]+)\"")
        layer_of("${CMAKE_MATCH_1}" target)
        if(target AND NOT target STREQUAL layer AND NOT target IN_LIST allowed_${layer})
          string(APPEND violations "\n  ${source}: ${line} (${layer} -> ${target})")
        endif()
      elseif(layer IN_LIST core_layers AND line MATCHES "${toolkit_includes}")
        string(APPEND violations "\n  ${source}: ${line} (the core uses no toolkit)")
      endif()
    endforeach()
  endforeach()
endforeach()
if(violations)
  message(FATAL_ERROR "Includes against the layers:${violations}")
endif()
