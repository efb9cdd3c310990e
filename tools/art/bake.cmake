# The artwork library the page bake draws from. The icon collection is an npm package pinned in
# tools/art/package-lock.json; scripts/deps.sh installs it into tools/art/node_modules.
if(NOT TAPBOOK_PREBAKED_DIR)
  set(TAPBOOK_ART_ICONS ${CMAKE_SOURCE_DIR}/tools/art/node_modules/@iconify-json/fluent-emoji-flat/icons.json)
  if(NOT EXISTS ${TAPBOOK_ART_ICONS})
    message(FATAL_ERROR "The artwork is not installed (${TAPBOOK_ART_ICONS}): run scripts/deps.sh")
  endif()
  # Our own drawings, in the set's style, of the few things it lacks (a desk, a fridge, a skirt...).
  set(TAPBOOK_ART_OWN_ICONS ${CMAKE_CURRENT_LIST_DIR}/own-icons.json)
  find_package(Qt6 6.4 REQUIRED COMPONENTS Svg)
  add_library(tapbook_art STATIC ${CMAKE_CURRENT_LIST_DIR}/art.cpp)
  target_include_directories(tapbook_art PUBLIC ${CMAKE_SOURCE_DIR})
  target_link_libraries(tapbook_art PUBLIC Qt6::Gui Qt6::Svg)
endif()
