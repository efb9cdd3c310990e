# The template compiler and its bake step: windows/*.json -> assets/templates.bin (embedded as
# "templates") and generated/ui/unit_ids.hpp (the unit ids the program's logic names).
add_executable(tapbook_template_compiler ${CMAKE_CURRENT_LIST_DIR}/compiler.cpp)
target_link_libraries(tapbook_template_compiler PRIVATE tapbook_base Qt6::Core)

file(GLOB TAPBOOK_WINDOW_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/windows/*.json)
list(SORT TAPBOOK_WINDOW_SOURCES)

# Pictures the windows carry, made by the picture bake step.
set(TAPBOOK_TEMPLATE_PICTURES
    pictures/cover.jpg pictures/loading.gif pictures/button-start-0.jpg pictures/button-start-1.jpg)
set(TAPBOOK_TEMPLATE_FLAGS)
set(TAPBOOK_TEMPLATE_PICTURE_FILES)
if(NOT EXISTS ${CMAKE_SOURCE_DIR}/tools/pictures/bake.cmake)
  # The pictures are not baked in this tree yet: store them empty rather than fail.
  list(APPEND TAPBOOK_TEMPLATE_FLAGS --allow-missing-assets)
else()
  foreach(p ${TAPBOOK_TEMPLATE_PICTURES})
    list(APPEND TAPBOOK_TEMPLATE_PICTURE_FILES ${TAPBOOK_ASSETS_DIR}/${p})
  endforeach()
endif()

tapbook_bake(OUTPUTS templates.bin
  COMMAND tapbook_template_compiler --out ${TAPBOOK_ASSETS_DIR}/templates.bin
          --assets ${TAPBOOK_ASSETS_DIR} ${TAPBOOK_TEMPLATE_FLAGS} ${TAPBOOK_WINDOW_SOURCES}
  DEPENDS tapbook_template_compiler ${TAPBOOK_WINDOW_SOURCES} ${CMAKE_SOURCE_DIR}/app/handlers.def
          ${TAPBOOK_TEMPLATE_PICTURE_FILES})
tapbook_embed(templates templates.bin)

# The header is made in every build, also when the assets come prebaked.
set(TAPBOOK_UNIT_IDS ${CMAKE_BINARY_DIR}/generated/ui/unit_ids.hpp)
file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/generated/ui)
add_custom_command(OUTPUT ${TAPBOOK_UNIT_IDS}
  COMMAND tapbook_template_compiler --header ${TAPBOOK_UNIT_IDS} ${TAPBOOK_WINDOW_SOURCES}
  DEPENDS tapbook_template_compiler ${TAPBOOK_WINDOW_SOURCES} ${CMAKE_SOURCE_DIR}/app/handlers.def
  WORKING_DIRECTORY ${CMAKE_SOURCE_DIR} VERBATIM)
add_custom_target(tapbook_unit_ids DEPENDS ${TAPBOOK_UNIT_IDS})
target_include_directories(tapbook_core PUBLIC ${CMAKE_BINARY_DIR}/generated)
add_dependencies(tapbook_core tapbook_unit_ids)
