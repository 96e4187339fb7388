cmake_minimum_required(VERSION 3.22)
# Fails when a file of the core (the services and the database: src/*/ outside the
# ui/ folders, and tools/) includes a widget header: a Qt Widgets or Print Support
# header, or a header of a ui/ folder. Run by ctest as the test "layers".
#   cmake -DSOURCE_DIR=<repo> -DWIDGET_HEADER_DIRS=<dir;dir> -P check_layers.cmake

set(widget_headers "")
foreach(dir IN LISTS WIDGET_HEADER_DIRS)
  file(GLOB names RELATIVE ${dir} ${dir}/*)
  list(APPEND widget_headers ${names})
endforeach()
list(LENGTH widget_headers known)
if(known LESS 100)
  message(FATAL_ERROR "layers: the widget headers were not found in '${WIDGET_HEADER_DIRS}'")
endif()

file(GLOB core_files
  ${SOURCE_DIR}/src/*/*.h ${SOURCE_DIR}/src/*/*.cpp
  ${SOURCE_DIR}/tools/*.h ${SOURCE_DIR}/tools/*.cpp)
list(FILTER core_files EXCLUDE REGEX "/src/app/")

set(faults "")
foreach(f IN LISTS core_files)
  file(STRINGS ${f} includes REGEX "^[ \t]*#[ \t]*include[ \t]*[<\"]")
  foreach(line IN LISTS includes)
    string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*[<\"]([^>\"]+)[>\"].*$" "\\1" header "${line}")
    get_filename_component(name "${header}" NAME)
    set(bad FALSE)
    if(header MATCHES "^(QtWidgets|QtPrintSupport)/" OR header MATCHES "(^|/)ui/")
      set(bad TRUE)
    elseif(NOT header MATCHES "/" AND name IN_LIST widget_headers)
      set(bad TRUE)
    endif()
    if(bad)
      file(RELATIVE_PATH rel ${SOURCE_DIR} ${f})
      list(APPEND faults "${rel}: ${header}")
    endif()
  endforeach()
endforeach()

if(faults)
  list(JOIN faults "\n  " text)
  message(FATAL_ERROR "Widget headers included outside the ui/ folders:\n  ${text}")
endif()
message(STATUS "layers: no core file includes a widget header")
