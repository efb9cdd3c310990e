# Pictures of our own design that are not page pictures: the welcome window's cover, loading
# animation and start button, the drill, fill-in and ordering windows' buttons and backgrounds, and
# the two answer marks. One tool draws them all (QtGui offscreen, libjpeg, giflib).

set(TAPBOOK_PICTURE_BUTTONS
  button-start:2
  drill-start:3 drill-again:3 drill-next:3 drill-ok:3 drill-exit:3
  fillin-next:2 fillin-answer:2 fillin-ok:2 fillin-exit:2
  ordering-start:2 ordering-redo:2 ordering-submit:2 ordering-answer:2 ordering-close:2)

set(TAPBOOK_PICTURE_FILES
  pictures/cover.jpg pictures/loading.gif pictures/mark-right.jpg pictures/mark-wrong.jpg
  pictures/drill-background.jpg pictures/fillin-background.jpg pictures/ordering-background.jpg)
foreach(b ${TAPBOOK_PICTURE_BUTTONS})
  string(REPLACE ":" ";" parts ${b})
  list(GET parts 0 name)
  list(GET parts 1 states)
  math(EXPR last "${states}-1")
  foreach(s RANGE ${last})
    list(APPEND TAPBOOK_PICTURE_FILES pictures/${name}-${s}.jpg)
  endforeach()
endforeach()

if(NOT TAPBOOK_PREBAKED_DIR)
  find_package(GIF REQUIRED)
  add_executable(tapbook_picture_bake ${CMAKE_CURRENT_LIST_DIR}/picture_bake.cpp)
  target_link_libraries(tapbook_picture_bake PRIVATE Qt6::Gui PkgConfig::JPEG GIF::GIF)
  target_include_directories(tapbook_picture_bake PRIVATE ${CMAKE_SOURCE_DIR})
  set(TAPBOOK_PICTURE_BAKE_DEPENDS tapbook_picture_bake ${CMAKE_CURRENT_LIST_DIR}/picture_bake.cpp
      ${CMAKE_SOURCE_DIR}/tools/layout/paper.hpp)
endif()

tapbook_bake(OUTPUTS ${TAPBOOK_PICTURE_FILES}
  COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen
          $<TARGET_FILE:tapbook_picture_bake> ${TAPBOOK_ASSETS_DIR}/pictures
  DEPENDS ${TAPBOOK_PICTURE_BAKE_DEPENDS})

tapbook_embed("mark-right" "pictures/mark-right.jpg")
tapbook_embed("mark-wrong" "pictures/mark-wrong.jpg")
