# Audio clips: synthesised from the clip manifest into build/assets/clips/<group>/<name>.wav and
# packed into build/assets/clips.pack, which the program carries as the blob "clips".
# The manifest is the book's, generated from book/ at configure time (tools/content).
include(${CMAKE_SOURCE_DIR}/tools/content/manifest.cmake)

# The voices are flite's (Debian's flite1-dev, which ships no pkg-config file).
find_path(FLITE_INCLUDE_DIR flite/flite.h REQUIRED)
set(_flite_libs)
foreach(_lib flite_cmu_us_rms flite_cmu_us_slt flite_usenglish flite_cmulex flite)
  find_library(FLITE_LIB_${_lib} ${_lib} REQUIRED)
  list(APPEND _flite_libs ${FLITE_LIB_${_lib}})
endforeach()

add_executable(clipbake ${CMAKE_CURRENT_LIST_DIR}/clipbake.cpp)
target_include_directories(clipbake SYSTEM PRIVATE ${FLITE_INCLUDE_DIR})
target_link_libraries(clipbake PRIVATE ${_flite_libs} m PkgConfig::LAME)
# The little-endian writer the program's readers match.
target_link_libraries(clipbake PRIVATE tapbook_base)

# The voice check's own half (scripts/voice-check.sh): decodes the baked clips for the recogniser
# and scores what it heard.
add_executable(voicecheck ${CMAKE_CURRENT_LIST_DIR}/voicecheck.cpp)
target_link_libraries(voicecheck PRIVATE PkgConfig::MPG123)
target_include_directories(voicecheck PRIVATE ${CMAKE_SOURCE_DIR})  # the manifest's reader

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
