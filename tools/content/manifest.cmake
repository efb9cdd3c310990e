# The clip manifest of the volume, made at configure time because the clip bake learns its
# output files from it then: contentbake is compiled here once (again only when its sources
# change) and lists every clip of book/. Sets TAPBOOK_CLIP_MANIFEST to the generated file.
# The book's rules are checked by the content bake at build time, not here.
include_guard(GLOBAL)

set(_cb_dir ${CMAKE_BINARY_DIR}/content)
set(_cb_exe ${_cb_dir}/contentbake-configure)
set(_cb_sources ${CMAKE_SOURCE_DIR}/tools/book/book.cpp ${CMAKE_SOURCE_DIR}/tools/book/wordlist.cpp
    ${CMAKE_SOURCE_DIR}/tools/book/artmap.cpp ${CMAKE_SOURCE_DIR}/tools/book/scene.cpp
    ${CMAKE_SOURCE_DIR}/tools/content/check.cpp ${CMAKE_SOURCE_DIR}/tools/content/contentbake.cpp)
set(_cb_headers ${CMAKE_SOURCE_DIR}/tools/book/book.hpp ${CMAKE_SOURCE_DIR}/tools/book/wordlist.hpp
    ${CMAKE_SOURCE_DIR}/tools/book/artmap.hpp ${CMAKE_SOURCE_DIR}/tools/book/scene.hpp
    ${CMAKE_SOURCE_DIR}/tools/content/check.hpp ${CMAKE_SOURCE_DIR}/content/volume.hpp)
file(MAKE_DIRECTORY ${_cb_dir})

set(_cb_stale FALSE)
if(NOT EXISTS ${_cb_exe})
  set(_cb_stale TRUE)
else()
  foreach(_s ${_cb_sources} ${_cb_headers})
    if(${_s} IS_NEWER_THAN ${_cb_exe})
      set(_cb_stale TRUE)
    endif()
  endforeach()
endif()
if(_cb_stale)
  message(STATUS "Compiling contentbake for the clip manifest")
  execute_process(COMMAND ${CMAKE_CXX_COMPILER} -std=c++20 -O1 -I${CMAKE_SOURCE_DIR} ${_cb_sources} -o ${_cb_exe}
                  RESULT_VARIABLE _cb_rc ERROR_VARIABLE _cb_err)
  if(NOT _cb_rc EQUAL 0)
    message(FATAL_ERROR "contentbake does not compile:\n${_cb_err}")
  endif()
endif()

file(GLOB _cb_book CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/book/pages/*.txt ${CMAKE_SOURCE_DIR}/book/words/*.txt
     ${CMAKE_SOURCE_DIR}/book/extras.txt ${CMAKE_SOURCE_DIR}/book/headings.txt)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${_cb_book} ${_cb_sources} ${_cb_headers})

set(TAPBOOK_BOOK_CLIP_MANIFEST ${TAPBOOK_ASSETS_DIR}/clip_manifest.txt)
execute_process(COMMAND ${_cb_exe} manifest ${CMAKE_SOURCE_DIR}/book ${TAPBOOK_BOOK_CLIP_MANIFEST}
                RESULT_VARIABLE _cb_rc ERROR_VARIABLE _cb_err)
if(NOT _cb_rc EQUAL 0)
  message(FATAL_ERROR "The clip manifest could not be made from book/:\n${_cb_err}")
endif()
set(TAPBOOK_CLIP_MANIFEST ${TAPBOOK_BOOK_CLIP_MANIFEST})
