# Layers point one way: platform at the bottom, data on it, shared on data,
# transfers on shared, basic on transfers, and the other subsystems and the
# frame on top. Fails, listing every offending line, when a file of a lower
# folder includes a folder that is not below it (a folder added later counts
# as above).
#
#   cmake -DSRC=<src folder> -P LayerCheck.cmake

cmake_minimum_required(VERSION 3.24)

if(NOT SRC)
  get_filename_component(SRC "${CMAKE_CURRENT_LIST_DIR}/../../src" ABSOLUTE)
endif()
if(NOT IS_DIRECTORY "${SRC}")
  message(FATAL_ERROR "layer check: no source folder ${SRC}")
endif()

# What each lower folder may include; the folders above these are unchecked.
set(may_platform platform)
set(may_data platform data)
set(may_shared platform data shared)
set(may_transfers platform data shared transfers)
set(may_basic platform data shared transfers basic)

file(GLOB _entries RELATIVE "${SRC}" "${SRC}/*")
set(_folders)
foreach(e IN LISTS _entries)
  if(IS_DIRECTORY "${SRC}/${e}")
    list(APPEND _folders "${e}")
  endif()
endforeach()

set(_bad)
foreach(layer platform data shared transfers basic)
  if(NOT IS_DIRECTORY "${SRC}/${layer}")
    continue()
  endif()
  file(GLOB_RECURSE _files RELATIVE "${SRC}" "${SRC}/${layer}/*.h" "${SRC}/${layer}/*.cpp"
       "${SRC}/${layer}/*.in")
  list(SORT _files)
  foreach(f IN LISTS _files)
    file(READ "${SRC}/${f}" _text)
    string(REGEX MATCHALL "#[ \t]*include[ \t]*[\"<][A-Za-z0-9_]+/[^\">\n]*[\">]" _incs "${_text}")
    foreach(inc IN LISTS _incs)
      string(REGEX REPLACE "^#[ \t]*include[ \t]*[\"<]([A-Za-z0-9_]+)/.*" "\\1" _top "${inc}")
      if(NOT _top IN_LIST _folders OR _top IN_LIST may_${layer})
        continue()
      endif()
      # The line number, for the message.
      string(FIND "${_text}" "${inc}" _at)
      string(SUBSTRING "${_text}" 0 ${_at} _before)
      string(REGEX MATCHALL "\n" _breaks "${_before}")
      list(LENGTH _breaks _line)
      math(EXPR _line "${_line} + 1")
      list(APPEND _bad "  src/${f}:${_line}: ${inc}")
    endforeach()
  endforeach()
endforeach()

if(_bad)
  list(LENGTH _bad _n)
  list(JOIN _bad "\n" _list)
  message(FATAL_ERROR
    "layer check: ${_n} include(s) point up a layer.\n"
    "platform includes only platform; data adds data; shared adds shared; "
    "transfers adds transfers; basic adds basic. Move what is borrowed down, "
    "or hand it over through the form registry or a hand-over in a lower "
    "layer:\n${_list}")
endif()
message(STATUS "layer check: every include of platform, data, shared, transfers and basic points down")
