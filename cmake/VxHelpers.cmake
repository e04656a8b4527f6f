# vx_library(NAME [DEPS lib...] [EXCLUDE file...]): a static library of every
# .cpp in the calling folder but the excluded ones (names in the folder).
function(vx_library name)
  cmake_parse_arguments(ARG "" "" "DEPS;EXCLUDE" ${ARGN})
  file(GLOB srcs CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  foreach(excluded ${ARG_EXCLUDE})
    list(REMOVE_ITEM srcs ${CMAKE_CURRENT_SOURCE_DIR}/${excluded})
  endforeach()
  if(srcs)
    add_library(${name} STATIC ${srcs})
    target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
    if(ARG_DEPS)
      target_link_libraries(${name} PUBLIC ${ARG_DEPS})
    endif()
  else()
    add_library(${name} INTERFACE)
    target_include_directories(${name} INTERFACE ${PROJECT_SOURCE_DIR})
    if(ARG_DEPS)
      target_link_libraries(${name} INTERFACE ${ARG_DEPS})
    endif()
  endif()
endfunction()

# vx_test(NAME [DEPS lib...]): one GoogleTest program of every *_test.cpp in the calling folder.
function(vx_test name)
  cmake_parse_arguments(ARG "" "" "DEPS" ${ARGN})
  file(GLOB srcs CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*_test.cpp)
  if(NOT srcs)
    return()
  endif()
  add_executable(${name} ${srcs})
  target_link_libraries(${name} PRIVATE ${ARG_DEPS} GTest::gtest GTest::gtest_main)
  vx_target_path(data_dir ${CMAKE_CURRENT_SOURCE_DIR}/data)
  target_compile_definitions(${name} PRIVATE VX_TEST_DATA_DIR="${data_dir}")
  if(CMAKE_CROSSCOMPILING)
    # One run of the whole program through the emulator: starting it once
    # per test case would cost more than the tests.
    add_test(NAME ${name} COMMAND ${name})
    set_tests_properties(${name} PROPERTIES TIMEOUT 600)
  else()
    gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 PROPERTIES TIMEOUT 300)
  endif()
endfunction()

# vx_target_path(OUT PATH): PATH as the programs being built see it. A
# Windows program run by Wine reaches the build machine's files on drive Z:.
function(vx_target_path out path)
  if(WIN32 AND CMAKE_CROSSCOMPILING)
    string(REPLACE "/" "\\\\" path "${path}")
    set(path "Z:${path}")
  endif()
  set(${out} "${path}" PARENT_SCOPE)
endfunction()

# vx_resources(TARGET target id file [id file ...]): compiles each file into
# the target as resource `id` (a decimal number), found at run time with
# GetResourceData (framework/core/RkResources.h). The bytes are turned into
# a generated source at build time (cmake/VxEmbedResources.cmake), so a
# changed file is picked up by the next build. The generated source registers
# its table from a static object; for a static library, every program that
# links it (directly or through other libraries) is told to keep that object,
# so the registration is never dropped by the linker.
function(vx_resources)
  cmake_parse_arguments(ARG "" "TARGET" "" ${ARGN})
  if(NOT ARG_TARGET OR NOT TARGET ${ARG_TARGET})
    message(FATAL_ERROR "vx_resources: TARGET must name an existing target")
  endif()
  set(pairs ${ARG_UNPARSED_ARGUMENTS})
  list(LENGTH pairs count)
  math(EXPR odd "${count} % 2")
  if(count EQUAL 0 OR odd)
    message(FATAL_ERROR "vx_resources(${ARG_TARGET}): expected pairs of id and file")
  endif()

  get_property(seen GLOBAL PROPERTY VX_RESOURCE_IDS)
  set(manifest "")
  set(files "")
  math(EXPR last "${count} - 1")
  foreach(i RANGE 0 ${last} 2)
    math(EXPR j "${i} + 1")
    list(GET pairs ${i} id)
    list(GET pairs ${j} file)
    if(NOT id MATCHES "^[0-9]+$" OR id GREATER 4294967295)
      message(FATAL_ERROR "vx_resources(${ARG_TARGET}): \"${id}\" is not a resource number")
    endif()
    math(EXPR id "${id}") # drops leading zeros
    if(id IN_LIST seen)
      message(FATAL_ERROR "vx_resources(${ARG_TARGET}): resource ${id} is defined twice")
    endif()
    list(APPEND seen ${id})
    get_filename_component(path "${file}" ABSOLUTE BASE_DIR "${CMAKE_CURRENT_SOURCE_DIR}")
    if(NOT EXISTS "${path}" OR IS_DIRECTORY "${path}")
      message(FATAL_ERROR "vx_resources(${ARG_TARGET}): no file \"${path}\" for resource ${id}")
    endif()
    string(APPEND manifest "${id}\t${path}\n")
    list(APPEND files "${path}")
  endforeach()
  set_property(GLOBAL PROPERTY VX_RESOURCE_IDS ${seen})

  # One generated source per call, named after the target.
  get_property(calls TARGET ${ARG_TARGET} PROPERTY VX_RESOURCE_CALLS)
  if(NOT calls)
    set(calls 0)
  endif()
  math(EXPR calls "${calls} + 1")
  set_property(TARGET ${ARG_TARGET} PROPERTY VX_RESOURCE_CALLS ${calls})
  string(MAKE_C_IDENTIFIER "vx_resources_${ARG_TARGET}_${calls}" anchor)
  set(base "${CMAKE_CURRENT_BINARY_DIR}/${ARG_TARGET}_resources${calls}")
  # Rewritten only when it changes, so that an unchanged list rebuilds nothing.
  set(old_manifest "")
  if(EXISTS "${base}.txt")
    file(READ "${base}.txt" old_manifest)
  endif()
  if(NOT old_manifest STREQUAL manifest)
    file(WRITE "${base}.txt" "${manifest}")
  endif()

  set(script "${PROJECT_SOURCE_DIR}/cmake/VxEmbedResources.cmake")
  add_custom_command(
    OUTPUT "${base}.cpp"
    COMMAND ${CMAKE_COMMAND} -DMANIFEST=${base}.txt -DOUTPUT=${base}.cpp -DANCHOR=${anchor} -P ${script}
    DEPENDS ${files} "${base}.txt" "${script}"
    COMMENT "Embedding the resources of ${ARG_TARGET}"
    VERBATIM)
  target_sources(${ARG_TARGET} PRIVATE "${base}.cpp")
  target_link_libraries(${ARG_TARGET} PUBLIC vx_core)

  get_target_property(kind ${ARG_TARGET} TYPE)
  if(kind STREQUAL "STATIC_LIBRARY")
    # Nothing refers to the generated object, so ask for its anchor symbol.
    set(symbol ${anchor})
    if(WIN32 AND CMAKE_SIZEOF_VOID_P EQUAL 4)
      set(symbol _${anchor}) # 32-bit Windows decorates C names
    elseif(APPLE)
      set(symbol _${anchor})
    endif()
    if(MSVC)
      target_link_options(${ARG_TARGET} INTERFACE "/INCLUDE:${symbol}")
    else()
      target_link_options(${ARG_TARGET} INTERFACE "LINKER:-u,${symbol}")
    endif()
  endif()
endfunction()
