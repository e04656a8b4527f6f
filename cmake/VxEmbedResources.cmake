# Writes a C++ source holding the files of a resource manifest as byte
# arrays, with a table that registers itself at start-up.
#   cmake -DMANIFEST=list.txt -DOUTPUT=out.cpp -DANCHOR=name -P VxEmbedResources.cmake
# Each manifest line is "<id><TAB><absolute path>".
if(NOT MANIFEST OR NOT OUTPUT OR NOT ANCHOR)
  message(FATAL_ERROR "VxEmbedResources: MANIFEST, OUTPUT and ANCHOR are required")
endif()

file(STRINGS "${MANIFEST}" lines)
set(arrays "")
set(entries "")
set(n 0)
foreach(line IN LISTS lines)
  if(NOT line MATCHES "^([0-9]+)\t(.+)$")
    message(FATAL_ERROR "VxEmbedResources: bad manifest line \"${line}\"")
  endif()
  set(id ${CMAKE_MATCH_1})
  set(path "${CMAKE_MATCH_2}")
  file(READ "${path}" hex HEX)
  string(LENGTH "${hex}" digits)
  math(EXPR size "${digits} / 2")
  if(size EQUAL 0)
    set(bytes "0")
  else()
    # 16 bytes a line.
    string(REGEX REPLACE "([0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f])"
           "\\1\n    " hex "${hex}")
    string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
    string(REGEX REPLACE "[ \n]+$" "" bytes "${bytes}")
  endif()
  get_filename_component(name "${path}" NAME)
  string(APPEND arrays "// ${name}\nconst uint8_t kData${n}[] = {\n    ${bytes}\n};\n\n")
  string(APPEND entries "    {${id}u, kData${n}, ${size}u},\n")
  math(EXPR n "${n} + 1")
endforeach()

file(WRITE "${OUTPUT}" "// Generated from ${MANIFEST} by VxEmbedResources.cmake; do not edit.
#include <cstdint>

#include \"framework/core/RkResources.h\"

namespace {

${arrays}const CRkResourceEntry kEntries[] = {
${entries}};

CRkResourceTable gTable{kEntries, ${n}u, nullptr};
const CRkResourceRegistrar gRegistrar(gTable);

} // namespace

// Named by the build so that static linking keeps this object (and with it
// the registration above).
extern \"C\" void ${ANCHOR}() {}
")
