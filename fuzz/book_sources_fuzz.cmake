# The book's reader and checker are bake tools: plain C++ with iconv, no Qt.
set(FUZZ_EXTRA_SOURCES ${CMAKE_SOURCE_DIR}/tools/book/book.cpp ${CMAKE_SOURCE_DIR}/tools/book/wordlist.cpp
    ${CMAKE_SOURCE_DIR}/tools/book/artmap.cpp ${CMAKE_SOURCE_DIR}/tools/book/scene.cpp
    ${CMAKE_SOURCE_DIR}/tools/content/check.cpp)
