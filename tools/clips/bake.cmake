# Audio clips: synthesised from the clip manifest into build/assets/clips/<group>/<name>.wav and
# packed into build/assets/clips.pack, which the program carries as the blob "clips".
# The manifest is the book's, generated from book/ at configure time (tools/content).
include(${CMAKE_SOURCE_DIR}/tools/content/manifest.cmake)

# The voice is festival's (festival-dev, festvox-us-slt-hts), which ships no pkg-config file.
find_path(FESTIVAL_INCLUDE_DIR festival.h PATH_SUFFIXES festival REQUIRED)
find_path(EST_INCLUDE_DIR EST.h PATH_SUFFIXES speech_tools REQUIRED)
set(_festival_libs)
foreach(_lib Festival estools estbase eststring)
  find_library(FESTIVAL_LIB_${_lib} ${_lib} REQUIRED)
  list(APPEND _festival_libs ${FESTIVAL_LIB_${_lib}})
endforeach()

add_executable(clipbake ${CMAKE_CURRENT_LIST_DIR}/clipbake.cpp ${CMAKE_CURRENT_LIST_DIR}/festival_voice.cpp)
target_include_directories(clipbake SYSTEM PRIVATE ${FESTIVAL_INCLUDE_DIR} ${EST_INCLUDE_DIR})
target_link_libraries(clipbake PRIVATE ${_festival_libs} PkgConfig::LAME)

# The voice check's own half (scripts/voice-check.sh): decodes the baked clips for the recogniser
# and scores what it heard.
add_executable(voicecheck ${CMAKE_CURRENT_LIST_DIR}/voicecheck.cpp)
target_link_libraries(voicecheck PRIVATE PkgConfig::MPG123)

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
