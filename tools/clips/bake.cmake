# Audio clips: synthesised from the clip manifest into build/assets/clips/<group>/<name>.wav and
# packed into build/assets/clips.pack, which the program carries as the blob "clips".
# The manifest is the book's, generated from book/ at configure time (tools/content).
include(${CMAKE_SOURCE_DIR}/tools/content/manifest.cmake)

add_executable(clipbake ${CMAKE_CURRENT_LIST_DIR}/clipbake.cpp)
target_link_libraries(clipbake PRIVATE PkgConfig::ESPEAK PkgConfig::LAME)
# The little-endian writer the program's readers match.
target_link_libraries(clipbake PRIVATE tapbook_base)

# The outputs are known at configure time from the manifest's group and name fields.
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${TAPBOOK_CLIP_MANIFEST})
file(STRINGS ${TAPBOOK_CLIP_MANIFEST} _clip_lines ENCODING UTF-8)
set(_clip_outputs)
foreach(_l IN LISTS _clip_lines)
  if(_l MATCHES "^([A-Za-z0-9_-]+)\\|([A-Za-z0-9_-]+)\\|")
    list(APPEND _clip_outputs clips/${CMAKE_MATCH_1}/${CMAKE_MATCH_2}.wav)
  endif()
endforeach()

tapbook_bake(OUTPUTS ${_clip_outputs} clips.pack
  COMMAND $<TARGET_FILE:clipbake> bake ${TAPBOOK_CLIP_MANIFEST} ${TAPBOOK_ASSETS_DIR} ${CMAKE_BINARY_DIR}/.clipcache
  DEPENDS clipbake ${TAPBOOK_CLIP_MANIFEST})
tapbook_embed(clips clips.pack)
