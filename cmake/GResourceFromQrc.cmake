# The GTK program bundles the same resource files as the Qt one, listed once in the .qrc files:
# gresource_from_qrc(<xml to write> <root> <qrc>...) writes a glib-compile-resources description
# that holds every file of the .qrc files under <root>, at the path the Qt program reads it from
# (":/flags/24/DE.png" becomes "<root>/flags/24/DE.png"). File paths in it are relative to the
# repository. Changing a .qrc file configures again.
function(gresource_from_qrc output root)
  set(entries "")
  foreach(qrc IN LISTS ARGN)
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS "${qrc}")
    get_filename_component(qrc_dir "${qrc}" DIRECTORY)
    file(RELATIVE_PATH qrc_dir "${PROJECT_SOURCE_DIR}" "${qrc_dir}")
    file(STRINGS "${qrc}" lines)
    set(prefix "")
    foreach(line IN LISTS lines)
      if(line MATCHES "<qresource prefix=\"/?([^\"]*)\"")
        set(prefix "${CMAKE_MATCH_1}")
        if(prefix)
          string(APPEND prefix "/")
        endif()
      elseif(line MATCHES "<file( alias=\"([^\"]+)\")?>([^<]+)</file>")
        set(name "${CMAKE_MATCH_3}")
        if(CMAKE_MATCH_2)
          set(name "${CMAKE_MATCH_2}")
        endif()
        string(APPEND entries "    <file alias=\"${prefix}${name}\">${qrc_dir}/${CMAKE_MATCH_3}</file>\n")
      endif()
    endforeach()
  endforeach()
  set(content "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<gresources>\n  <gresource prefix=\"${root}\">\n${entries}  </gresource>\n</gresources>\n")
  # Written only when it changes, so that an unchanged list compiles nothing again.
  file(CONFIGURE OUTPUT "${output}" CONTENT "${content}" @ONLY)
endfunction()
