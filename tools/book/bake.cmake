# The book's sources as a library for the bake tools (checker, clip manifest, page layout).
add_library(tapbook_book STATIC ${CMAKE_CURRENT_LIST_DIR}/book.cpp ${CMAKE_CURRENT_LIST_DIR}/wordlist.cpp
            ${CMAKE_CURRENT_LIST_DIR}/artmap.cpp ${CMAKE_CURRENT_LIST_DIR}/scene.cpp)
target_include_directories(tapbook_book PUBLIC ${CMAKE_SOURCE_DIR})
target_link_libraries(tapbook_book PUBLIC Iconv::Iconv)
