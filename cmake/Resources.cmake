# The module's resources come from one script, res/Dovezi.rc: windres
# compiles it for Windows; on Linux the resource compiler of tools/ turns
# the same script into a table of embedded bytes.
set(DOVEZI_RC ${CMAKE_SOURCE_DIR}/res/Dovezi.rc)
file(GLOB DOVEZI_RES_FILES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/res/*)
