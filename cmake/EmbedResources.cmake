# zelt_embed_resources(TARGET <target> FILES <file>...)
# Compiles the given files into <target> as byte arrays. Each file is reachable at run time through
# zelt::FindEmbeddedResource("<file name>") (declared in util/embedded_resources.h); the name is the
# file's base name, so names must be unique across all embedded files.
set(ZELT_EMBED_SCRIPT ${CMAKE_CURRENT_LIST_DIR}/embed_one.cmake)

function(zelt_embed_resources)
  cmake_parse_arguments(ARG "" "TARGET" "FILES" ${ARGN})
  set(gen_dir ${CMAKE_CURRENT_BINARY_DIR}/embedded)
  set(generated)
  set(entries "")
  set(decls "")
  set(i 0)
  foreach(file IN LISTS ARG_FILES)
    get_filename_component(abs ${file} ABSOLUTE)
    get_filename_component(name ${file} NAME)
    set(out ${gen_dir}/res_${i}.cpp)
    add_custom_command(
      OUTPUT ${out}
      COMMAND ${CMAKE_COMMAND} -DIN=${abs} -DOUT=${out} -DSYMBOL=zelt_res_${i} -P ${ZELT_EMBED_SCRIPT}
      DEPENDS ${abs} ${ZELT_EMBED_SCRIPT}
      COMMENT "Embedding ${name}")
    list(APPEND generated ${out})
    string(APPEND decls "extern const unsigned char zelt_res_${i}[];\nextern const std::size_t zelt_res_${i}_size;\n")
    string(APPEND entries "    {\"${name}\", {zelt_res_${i}, zelt_res_${i}_size}},\n")
    math(EXPR i "${i} + 1")
  endforeach()
  set(index ${gen_dir}/resource_index.cpp)
  file(WRITE ${index}.in
"// Generated: index of the resources compiled into this library.
#include <cstddef>
#include <span>
#include <string_view>
#include <utility>

#include \"util/embedded_resources.h\"

${decls}
namespace zelt {
namespace {
// Ends with an empty entry so the table is never empty.
const std::pair<std::string_view, std::span<const unsigned char>> kResources[] = {
${entries}    {{}, {}}};
}  // namespace

std::optional<std::span<const unsigned char>> FindEmbeddedResource(std::string_view name) {
  for (const auto& [key, bytes] : kResources) {
    if (!key.empty() && key == name) return bytes;
  }
  return std::nullopt;
}
}  // namespace zelt
")
  configure_file(${index}.in ${index} COPYONLY)
  target_sources(${ARG_TARGET} PRIVATE ${generated} ${index})
endfunction()
