# The template compiler and its bake step: windows/*.json -> assets/templates.bin (embedded as
# "templates") and generated/ui/unit_ids.hpp (the unit ids the program's logic names).
add_executable(tapbook_template_compiler ${CMAKE_CURRENT_LIST_DIR}/compiler.cpp)
# The book's own reader for the extras list.
target_link_libraries(tapbook_template_compiler PRIVATE tapbook_base tapbook_book Qt6::Core)

file(GLOB TAPBOOK_WINDOW_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/windows/*.json)
list(SORT TAPBOOK_WINDOW_SOURCES)
set(TAPBOOK_TEMPLATE_EXTRAS ${CMAKE_SOURCE_DIR}/book/extras.txt)
set(TAPBOOK_TEMPLATE_FLAGS --extras ${TAPBOOK_TEMPLATE_EXTRAS})

# The page pictures and the units on them come from the layout bake step
# (tools/layout/bake.cmake, included before this file): a source of the main window's page units
# in the compiler's own form, read after the hand-written sources. The main window's page book
# lists the pictures by name.
list(APPEND TAPBOOK_TEMPLATE_FLAGS --page-units main_window=${TAPBOOK_MAIN_WINDOW_UNITS})

# Pictures the windows carry, made by the picture bake step.
set(TAPBOOK_TEMPLATE_PICTURES
    pictures/cover.jpg pictures/loading.gif pictures/button-start-0.jpg pictures/button-start-1.jpg
    pictures/drill-background.jpg pictures/fillin-background.jpg pictures/ordering-background.jpg)
foreach(b drill-start drill-again drill-next drill-ok drill-exit)
  list(APPEND TAPBOOK_TEMPLATE_PICTURES pictures/${b}-0.jpg pictures/${b}-1.jpg pictures/${b}-2.jpg)
endforeach()
foreach(b fillin-next fillin-answer fillin-ok fillin-exit
          ordering-start ordering-redo ordering-submit ordering-answer ordering-close)
  list(APPEND TAPBOOK_TEMPLATE_PICTURES pictures/${b}-0.jpg pictures/${b}-1.jpg)
endforeach()
list(TRANSFORM TAPBOOK_TEMPLATE_PICTURES PREPEND ${TAPBOOK_ASSETS_DIR}/ OUTPUT_VARIABLE TAPBOOK_TEMPLATE_PICTURE_FILES)

tapbook_bake(OUTPUTS templates.bin
  COMMAND tapbook_template_compiler --out ${TAPBOOK_ASSETS_DIR}/templates.bin
          --assets ${TAPBOOK_ASSETS_DIR} ${TAPBOOK_TEMPLATE_FLAGS} ${TAPBOOK_WINDOW_SOURCES}
  DEPENDS tapbook_template_compiler ${TAPBOOK_WINDOW_SOURCES} ${CMAKE_SOURCE_DIR}/ui/store/handlers.def
          ${TAPBOOK_TEMPLATE_EXTRAS} ${TAPBOOK_MAIN_WINDOW_UNITS} ${TAPBOOK_MAIN_WINDOW_PICTURES}
          ${TAPBOOK_TEMPLATE_PICTURE_FILES})
tapbook_embed(templates templates.bin)

# The header is made in every build, also when the assets come prebaked.
set(TAPBOOK_UNIT_IDS ${CMAKE_BINARY_DIR}/generated/ui/unit_ids.hpp)
file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/generated/ui)
add_custom_command(OUTPUT ${TAPBOOK_UNIT_IDS}
  COMMAND tapbook_template_compiler --header ${TAPBOOK_UNIT_IDS} ${TAPBOOK_TEMPLATE_FLAGS} ${TAPBOOK_WINDOW_SOURCES}
  DEPENDS tapbook_template_compiler ${TAPBOOK_WINDOW_SOURCES} ${CMAKE_SOURCE_DIR}/ui/store/handlers.def
          ${TAPBOOK_TEMPLATE_EXTRAS} ${TAPBOOK_MAIN_WINDOW_UNITS}
  WORKING_DIRECTORY ${CMAKE_SOURCE_DIR} VERBATIM)
add_custom_target(tapbook_unit_ids DEPENDS ${TAPBOOK_UNIT_IDS})
foreach(layer tapbook_reading tapbook_drills tapbook_app)
  target_include_directories(${layer} PUBLIC ${CMAKE_BINARY_DIR}/generated)
  add_dependencies(${layer} tapbook_unit_ids)
endforeach()
