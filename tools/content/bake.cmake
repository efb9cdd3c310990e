# The volume's texts: contentbake checks book/ against its rules (the build fails naming file,
# line, page and item) and writes build/assets/texts/page00..33.txt and drill1..6.txt, the GBK
# texts the program carries, and texts.pack, which it carries as the blob "texts" (the texts,
# the page exercises' answers, the word list's clips and the edition label).
include(${CMAKE_CURRENT_LIST_DIR}/manifest.cmake)

add_executable(contentbake ${CMAKE_CURRENT_LIST_DIR}/check.cpp ${CMAKE_CURRENT_LIST_DIR}/contentbake.cpp)
target_link_libraries(contentbake PRIVATE tapbook_book)

set(_content_outputs texts.pack)
foreach(_k RANGE 0 33)
  string(LENGTH "${_k}" _len)
  if(_len EQUAL 1)
    set(_k "0${_k}")
  endif()
  list(APPEND _content_outputs texts/page${_k}.txt)
endforeach()
foreach(_l RANGE 1 6)
  list(APPEND _content_outputs texts/drill${_l}.txt)
endforeach()

# The main window's page units, as the layout bake writes them: a fill-in or tick box there that
# the book gives no answer fails the bake, naming the box.
set(_content_window_units ${TAPBOOK_ASSETS_DIR}/layout/main_pages.json)
tapbook_bake(OUTPUTS ${_content_outputs}
  COMMAND $<TARGET_FILE:contentbake> bake ${CMAKE_SOURCE_DIR}/book ${TAPBOOK_ASSETS_DIR} ${_content_window_units}
  DEPENDS contentbake ${_cb_book} ${_content_window_units})
tapbook_embed(texts texts.pack)
# The tests run the checker on broken copies of the book, also when the texts come prebaked.
add_dependencies(tapbook_baked_assets contentbake)
