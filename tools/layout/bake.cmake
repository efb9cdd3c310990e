# The page layout: page pictures, the listen icon and the page-picture units of the main window.
if(NOT TAPBOOK_PREBAKED_DIR)
  add_executable(layout_bake ${CMAKE_CURRENT_LIST_DIR}/main.cpp ${CMAKE_CURRENT_LIST_DIR}/layout.cpp
                 ${CMAKE_CURRENT_LIST_DIR}/render.cpp ${CMAKE_CURRENT_LIST_DIR}/word_art.cpp
                 ${CMAKE_CURRENT_LIST_DIR}/check.cpp ${CMAKE_CURRENT_LIST_DIR}/scenes.cpp
                 ${CMAKE_CURRENT_LIST_DIR}/characters.cpp)
  target_link_libraries(layout_bake PRIVATE tapbook_book tapbook_art Qt6::Gui)
endif()

file(GLOB TAPBOOK_LAYOUT_BOOK_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/book/*.txt
     ${CMAKE_SOURCE_DIR}/book/pages/*.txt ${CMAKE_SOURCE_DIR}/book/words/*.txt)
set(TAPBOOK_LAYOUT_OUTPUTS)
foreach(n RANGE 1 36)
  if(n LESS 10)
    set(n "0${n}")
  endif()
  list(APPEND TAPBOOK_LAYOUT_OUTPUTS pictures/page-${n}.jpg)
endforeach()
list(APPEND TAPBOOK_LAYOUT_OUTPUTS pictures/listen.jpg layout/main_pages.json)
# Every word card's and marker's picture, art/words/<English>.png, for checking by eye; the
# program does not carry them, so they are named by the list the bake writes beside them.
set(TAPBOOK_LAYOUT_WORD_PICTURES ${TAPBOOK_ASSETS_DIR}/art/words/index.txt)
# Debug renders (assets/debug/page-NN.png, every unit outlined) for checking the layout by eye.
option(TAPBOOK_LAYOUT_DEBUG "Also render the spreads with their units outlined" OFF)
set(TAPBOOK_LAYOUT_FLAGS)
if(TAPBOOK_LAYOUT_DEBUG)
  set(TAPBOOK_LAYOUT_FLAGS --debug)
endif()
tapbook_bake(OUTPUTS ${TAPBOOK_LAYOUT_OUTPUTS}
  COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen $<TARGET_FILE:layout_bake>
          --book ${CMAKE_SOURCE_DIR}/book --out ${TAPBOOK_ASSETS_DIR} --art ${TAPBOOK_ART_ICONS}
          --art ${TAPBOOK_ART_OWN_ICONS}
          ${TAPBOOK_LAYOUT_FLAGS}
  DEPENDS layout_bake ${TAPBOOK_LAYOUT_BOOK_SOURCES} ${TAPBOOK_ART_ICONS} ${TAPBOOK_ART_OWN_ICONS}
  BYPRODUCTS ${TAPBOOK_LAYOUT_WORD_PICTURES})

# For the template compiler (tools/templates/bake.cmake, included after this file).
set(TAPBOOK_MAIN_WINDOW_UNITS ${TAPBOOK_ASSETS_DIR}/layout/main_pages.json)
set(TAPBOOK_MAIN_WINDOW_PICTURES)
foreach(o ${TAPBOOK_LAYOUT_OUTPUTS})
  list(APPEND TAPBOOK_MAIN_WINDOW_PICTURES ${TAPBOOK_ASSETS_DIR}/${o})
endforeach()
