# Fails when a source file includes a layer it may not use. Includes name
# their folder from the root, so the layer of every include is its first
# folder (its first two under encoders/, and engine/ports). Run as
#   cmake -DSOURCE_DIR=<tree> -P CheckLayers.cmake
# Tests and benchmarks may use every layer and are not read.

cmake_minimum_required(VERSION 3.24)

if(NOT SOURCE_DIR)
  message(FATAL_ERROR "SOURCE_DIR is not set")
endif()

# What each layer may include besides itself. A file named here instead of a
# folder has its own exception.
# The ports are interfaces over Qt's types alone, so that every layer that
# talks through them can take them.
set(allowed_engine/ports)
set(allowed_engine engine/ports encoders/protocol encoders/system)
set(allowed_engine/ParameterRules.cpp encoders/plan encoders/options)
set(allowed_jobs engine engine/ports)
set(allowed_settings engine engine/ports encoders/protocol encoders/system)
set(allowed_desktop)
set(allowed_app engine engine/ports jobs settings desktop encoders/system)
set(allowed_ui engine engine/ports jobs settings app desktop encoders/system)
set(allowed_cli engine engine/ports jobs settings app desktop encoders/protocol encoders/system)
set(allowed_encoders/protocol)
set(allowed_encoders/system)
set(allowed_encoders/probe encoders/protocol encoders/system)
set(allowed_encoders/options encoders/protocol encoders/plan encoders/probe)
set(allowed_encoders/subtitles encoders/options encoders/probe)
set(allowed_encoders/plan encoders/protocol encoders/options encoders/probe encoders/subtitles)
set(allowed_encoders/job encoders/protocol encoders/system encoders/probe encoders/options
    encoders/plan encoders/subtitles)
set(allowed_encoders/programs encoders/protocol encoders/system encoders/probe encoders/options
    encoders/plan encoders/subtitles encoders/job)
set(layers engine engine/ports jobs settings desktop app ui cli encoders/protocol encoders/system
    encoders/probe encoders/options encoders/subtitles encoders/plan encoders/job
    encoders/programs)

function(layer_of path out)
  string(REGEX MATCH "^(encoders/[^/]+|engine/ports)/" layer "${path}")
  if(NOT layer)
    string(REGEX MATCH "^[^/]+/" layer "${path}")
  endif()
  string(REGEX REPLACE "/$" "" layer "${layer}")
  set(${out} "${layer}" PARENT_SCOPE)
endfunction()

set(crossings "")
set(checked 0)
file(GLOB_RECURSE sources RELATIVE ${SOURCE_DIR} ${SOURCE_DIR}/*.cpp ${SOURCE_DIR}/*.h)
foreach(source ${sources})
  layer_of("${source}" layer)
  if(NOT layer IN_LIST layers)
    continue()
  endif()
  math(EXPR checked "${checked} + 1")
  set(may ${layer} ${allowed_${layer}} ${allowed_${source}})
  file(STRINGS ${SOURCE_DIR}/${source} includes REGEX "^[ \t]*#[ \t]*include[ \t]*\"")
  foreach(line ${includes})
    string(REGEX REPLACE "^[^\"]*\"([^\"]*)\".*$" "\\1" included "${line}")
    if(NOT included MATCHES "/")
      if(included MATCHES "\\.h$")
        string(APPEND crossings "  ${source} includes ${included} without its folder\n")
      endif()
      continue() # a file moc generates for the same target
    endif()
    layer_of("${included}" target)
    if(NOT target IN_LIST may)
      string(APPEND crossings "  ${source} includes ${included}\n")
    endif()
  endforeach()
endforeach()

if(crossings)
  message(FATAL_ERROR "Includes across layers that may not use each other:\n${crossings}")
endif()
message(STATUS "Layers kept in ${checked} files")
