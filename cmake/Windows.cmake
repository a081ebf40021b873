# The Windows screen saver: one GUI executable with the .scr extension,
# linked statically so that it needs nothing beside the system's DLLs.
enable_language(RC)
file(GLOB DOVEZI_WIN32_SOURCES CONFIGURE_DEPENDS platform/win32/*.cpp)
add_executable(Dovezi WIN32 ${DOVEZI_WIN32_SOURCES} ${DOVEZI_RC})
set_target_properties(Dovezi PROPERTIES SUFFIX ".scr")
target_include_directories(Dovezi PRIVATE ${CMAKE_SOURCE_DIR} ${CMAKE_SOURCE_DIR}/res)
set_source_files_properties(${DOVEZI_RC} PROPERTIES OBJECT_DEPENDS "${DOVEZI_RES_FILES}")
target_link_libraries(Dovezi PRIVATE dovezi_core winmm comctl32 comdlg32 gdi32 user32 advapi32 uuid)
target_link_options(Dovezi PRIVATE -static -static-libgcc -static-libstdc++)
# The pixel loops of imaging/ take their SSE2 form on every build target.
target_compile_options(dovezi_core PRIVATE -msse2)

# The setup program: the screen saver installed for the current user, with
# its uninstaller, made by NSIS.
find_program(DOVEZI_MAKENSIS makensis REQUIRED)
set(DOVEZI_SETUP ${CMAKE_BINARY_DIR}/Dovezi-setup.exe)
file(GLOB DOVEZI_SETUP_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/packaging/setup/*)
add_custom_command(OUTPUT ${DOVEZI_SETUP}
    COMMAND ${DOVEZI_MAKENSIS} -V2 -WX -DSAVER=$<TARGET_FILE:Dovezi> -DICON=${CMAKE_SOURCE_DIR}/res/Dovezi.ico
        -DPICTURE=${CMAKE_SOURCE_DIR}/res/setup.bmp -DOUTFILE=${DOVEZI_SETUP}
        ${CMAKE_SOURCE_DIR}/packaging/setup/Dovezi-setup.nsi
    DEPENDS Dovezi ${DOVEZI_SETUP_SOURCES} ${CMAKE_SOURCE_DIR}/res/Dovezi.ico ${CMAKE_SOURCE_DIR}/res/setup.bmp
    COMMENT "Making Dovezi-setup.exe")

# The download: the setup, the screen saver on its own and how to install
# either, in one zip file.
set(DOVEZI_ZIP ${CMAKE_BINARY_DIR}/Dovezi-win32.zip)
add_custom_command(OUTPUT ${DOVEZI_ZIP}
    COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_SOURCE_DIR}/packaging/INSTALL-Windows.txt ${CMAKE_BINARY_DIR}/INSTALL.txt
    COMMAND ${CMAKE_COMMAND} -E tar cf ${DOVEZI_ZIP} --format=zip Dovezi-setup.exe Dovezi.scr INSTALL.txt
    DEPENDS Dovezi ${DOVEZI_SETUP} ${CMAKE_SOURCE_DIR}/packaging/INSTALL-Windows.txt
    WORKING_DIRECTORY ${CMAKE_BINARY_DIR}
    COMMENT "Packing Dovezi-win32.zip")
add_custom_target(dovezi_zip ALL DEPENDS ${DOVEZI_ZIP})
