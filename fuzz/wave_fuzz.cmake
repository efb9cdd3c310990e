# The WAVE parser lives with the players in content/ but is plain C++.
set(FUZZ_EXTRA_SOURCES ${CMAKE_SOURCE_DIR}/content/audio/wave.cpp)
