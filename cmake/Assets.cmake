# Baked assets: files the build tooling makes under build/assets/ and that the program carries
# inside itself (embedded with the assembler's .incbin, so no file is read at run time).
#
#   tapbook_bake(OUTPUTS <files relative to assets/> COMMAND ... DEPENDS ...)
#       runs a bake step, or, when TAPBOOK_PREBAKED_DIR is set, copies its outputs from there.
#   tapbook_embed(<name> <file relative to assets/>)
#       carries that file inside the program; tb::embedded_blob("<name>") returns its bytes.

set(TAPBOOK_ASSETS_DIR ${CMAKE_BINARY_DIR}/assets)
file(MAKE_DIRECTORY ${TAPBOOK_ASSETS_DIR})
set_property(GLOBAL PROPERTY TAPBOOK_EMBEDS "")
add_custom_target(tapbook_baked_assets)

function(tapbook_bake)
  cmake_parse_arguments(B "" "" "OUTPUTS;COMMAND;DEPENDS;BYPRODUCTS" ${ARGN})
  set(outs)
  foreach(o ${B_OUTPUTS})
    list(APPEND outs ${TAPBOOK_ASSETS_DIR}/${o})
  endforeach()
  if(TAPBOOK_PREBAKED_DIR)
    set(cmds)
    foreach(o ${B_OUTPUTS})
      get_filename_component(od ${TAPBOOK_ASSETS_DIR}/${o} DIRECTORY)
      list(APPEND cmds COMMAND ${CMAKE_COMMAND} -E make_directory ${od}
                       COMMAND ${CMAKE_COMMAND} -E copy_if_different ${TAPBOOK_PREBAKED_DIR}/${o} ${TAPBOOK_ASSETS_DIR}/${o})
    endforeach()
    set(deps)
    foreach(o ${B_OUTPUTS})
      list(APPEND deps ${TAPBOOK_PREBAKED_DIR}/${o})
    endforeach()
    add_custom_command(OUTPUT ${outs} ${cmds} DEPENDS ${deps} VERBATIM)
  else()
    add_custom_command(OUTPUT ${outs} COMMAND ${B_COMMAND} DEPENDS ${B_DEPENDS}
                       BYPRODUCTS ${B_BYPRODUCTS}
                       WORKING_DIRECTORY ${CMAKE_SOURCE_DIR} VERBATIM USES_TERMINAL)
  endif()
  string(MD5 h "${outs}")
  add_custom_target(bake_${h} DEPENDS ${outs})
  add_dependencies(tapbook_baked_assets bake_${h})
endfunction()

function(tapbook_embed name file)
  set_property(GLOBAL APPEND PROPERTY TAPBOOK_EMBEDS "${name}=${file}")
endfunction()

function(tapbook_finish_assets)
  get_property(embeds GLOBAL PROPERTY TAPBOOK_EMBEDS)
  set(gen ${CMAKE_BINARY_DIR}/embedded)
  file(MAKE_DIRECTORY ${gen})
  set(asm "")
  set(decl "")
  set(table "")
  set(deps)
  set(i 0)
  foreach(e ${embeds})
    string(REPLACE "=" ";" parts ${e})
    list(GET parts 0 name)
    list(GET parts 1 file)
    string(MAKE_C_IDENTIFIER ${name} id)
    string(APPEND asm "    .section .rodata.tb_${id},\"a\"\n    .balign 16\n    .global tb_blob_${id}\ntb_blob_${id}:\n    .incbin \"${TAPBOOK_ASSETS_DIR}/${file}\"\n    .global tb_blob_${id}_end\ntb_blob_${id}_end:\n    .byte 0\n")
    string(APPEND decl "extern \"C\" const unsigned char tb_blob_${id}[];\nextern \"C\" const unsigned char tb_blob_${id}_end[];\n")
    string(APPEND table "    {\"${name}\", tb_blob_${id}, tb_blob_${id}_end},\n")
    list(APPEND deps ${TAPBOOK_ASSETS_DIR}/${file})
    math(EXPR i "${i}+1")
  endforeach()
  string(APPEND asm "    .section .note.GNU-stack,\"\",@progbits\n")
  file(GENERATE OUTPUT ${gen}/blobs.S CONTENT "${asm}")
  file(GENERATE OUTPUT ${gen}/blobs.cpp CONTENT
"// Generated: the baked assets carried inside the program.
#include \"runtime/embedded.hpp\"
#include <cstring>
${decl}
namespace {
struct Entry { const char* name; const unsigned char* begin; const unsigned char* end; };
const Entry kEntries[] = {
${table}    {nullptr, nullptr, nullptr}
};
}
namespace tb {
std::span<const std::uint8_t> embedded_blob(std::string_view name) {
    for (const Entry* e = kEntries; e->name; ++e)
        if (name == e->name) return {e->begin, static_cast<std::size_t>(e->end - e->begin)};
    return {};
}
}
")
  add_library(tapbook_assets STATIC ${gen}/blobs.S ${gen}/blobs.cpp)
  target_link_libraries(tapbook_assets PUBLIC tapbook_base)
  set_source_files_properties(${gen}/blobs.S PROPERTIES OBJECT_DEPENDS "${deps}")
  add_dependencies(tapbook_assets tapbook_baked_assets)
endfunction()
