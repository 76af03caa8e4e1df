# Runs the skin generator: every skin bitmap, the icon and skin_bitmaps.rc go
# to ORVANE_SKIN_DIR. Debian's python3 is asked for by path, because pycairo
# comes from Debian's python3-cairo package.
find_program(ORVANE_PYTHON NAMES python3 PATHS /usr/bin NO_DEFAULT_PATH REQUIRED)
set(ORVANE_SKIN_DIR ${CMAKE_BINARY_DIR}/skin)
file(GLOB ORVANE_SKINGEN_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tools/skingen/*.py)
list(FILTER ORVANE_SKINGEN_SOURCES EXCLUDE REGEX "/test_[^/]*\\.py$")
add_custom_command(
  OUTPUT ${ORVANE_SKIN_DIR}/skin_bitmaps.rc ${ORVANE_SKIN_DIR}/orvane.ico
  COMMAND ${ORVANE_PYTHON} ${CMAKE_SOURCE_DIR}/tools/skingen/skingen.py ${ORVANE_SKIN_DIR}
  DEPENDS ${ORVANE_SKINGEN_SOURCES} ${CMAKE_SOURCE_DIR}/panel/res/skin_pairings.txt
  COMMENT "Drawing the skin bitmaps"
  VERBATIM)
add_custom_target(orvane_skin_pictures DEPENDS ${ORVANE_SKIN_DIR}/skin_bitmaps.rc ${ORVANE_SKIN_DIR}/orvane.ico)
