# The JPEG decoding core alone: libjpeg-turbo, no Qt.
set(FUZZ_EXTRA_SOURCES ${CMAKE_SOURCE_DIR}/ui/widgets/pictures/jpeg_decode.cpp)
set(FUZZ_EXTRA_LIBS PkgConfig::JPEG)
