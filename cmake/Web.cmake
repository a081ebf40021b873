# The page: the core over the browser's platform, built with emscripten.
# `make web` configures this with emcmake; the page's files (the program,
# its page and the music's files) land in DOVEZI_PAGE_DIR.
include(cmake/PlatformLibrary.cmake)
set(DOVEZI_PAGE_DIR ${CMAKE_BINARY_DIR}/page CACHE PATH "Where the page's files go")

# The resource compiler runs on the build machine, built by its compiler.
set(DOVEZI_HOST_CXX c++ CACHE STRING "The build machine's C++ compiler")
file(GLOB DOVEZI_RESCOMP_SOURCES CONFIGURE_DEPENDS tools/rescomp/*.cpp)
set(DOVEZI_RESCOMP ${CMAKE_BINARY_DIR}/host/rescomp)
add_custom_command(OUTPUT ${DOVEZI_RESCOMP}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/host
    COMMAND ${DOVEZI_HOST_CXX} -std=c++20 -O1 -I${CMAKE_SOURCE_DIR} ${DOVEZI_RESCOMP_SOURCES} -o ${DOVEZI_RESCOMP}
    DEPENDS ${DOVEZI_RESCOMP_SOURCES}
    COMMENT "Building the resource compiler for the build machine")
set(DOVEZI_EMBEDDED ${CMAKE_BINARY_DIR}/generated/EmbeddedResources.cpp)
add_custom_command(OUTPUT ${DOVEZI_EMBEDDED}
    COMMAND ${DOVEZI_RESCOMP} ${DOVEZI_RC} ${DOVEZI_EMBEDDED}
    DEPENDS ${DOVEZI_RESCOMP} ${DOVEZI_RES_FILES}
    COMMENT "Embedding the module's resources")

dovezi_platform_library(dovezi_resources platform/resources ${DOVEZI_EMBEDDED})
dovezi_platform_library(dovezi_dialog platform/dialog)
dovezi_platform_library(dovezi_queue platform/queue)
dovezi_platform_library(dovezi_present platform/present)
# A page never decodes a desktop picture: its PNG reading stays out.
get_target_property(DOVEZI_PRESENT_SOURCES dovezi_present SOURCES)
list(FILTER DOVEZI_PRESENT_SOURCES EXCLUDE REGEX "PngPicture\\.cpp$")
set_target_properties(dovezi_present PROPERTIES SOURCES "${DOVEZI_PRESENT_SOURCES}")
dovezi_platform_library(dovezi_regfile platform/regfile)
# Of the folders that also serve threads, sound servers and files on disk,
# the parts a page can use: the files, the stream's core and the in-memory
# display with its generated desktop.
add_library(dovezi_posix STATIC platform/posix/PosixFiles.cpp platform/posix/PrivateTempFolder.cpp)
target_link_libraries(dovezi_posix PUBLIC dovezi_seams)
add_library(dovezi_stream STATIC platform/stream/MidiStreamCore.cpp platform/stream/MidiStreamOutput.cpp)
target_link_libraries(dovezi_stream PUBLIC dovezi_seams)
add_library(dovezi_virtual STATIC platform/virtual/VirtualDisplay.cpp platform/virtual/GeneratedDesktop.cpp
    platform/virtual/FillScreen.cpp)
target_link_libraries(dovezi_virtual PUBLIC dovezi_present dovezi_seams)

dovezi_platform_library(dovezi_web platform/web)
target_link_libraries(dovezi_web PUBLIC dovezi_dialog dovezi_posix dovezi_present dovezi_queue dovezi_regfile
    dovezi_resources dovezi_stream dovezi_virtual)

set(DOVEZI_PAGE ${CMAKE_SOURCE_DIR}/platform/web/page)
add_executable(Dovezi platform/web/WebMain.cpp)
set_target_properties(Dovezi PROPERTIES SUFFIX .js RUNTIME_OUTPUT_DIRECTORY ${DOVEZI_PAGE_DIR})
target_link_libraries(Dovezi PRIVATE dovezi_core dovezi_web)
target_link_options(Dovezi PRIVATE
    --js-library ${DOVEZI_PAGE}/bridge.js
    -sENVIRONMENT=web -sALLOW_MEMORY_GROWTH=1 -sINITIAL_MEMORY=67108864 -sFORCE_FILESYSTEM=1
    -sEXPORTED_FUNCTIONS=_malloc,_free
    -sEXPORTED_RUNTIME_METHODS=FS,ccall,UTF8ToString,stringToUTF8,lengthBytesUTF8)
set_property(TARGET Dovezi APPEND PROPERTY LINK_DEPENDS ${DOVEZI_PAGE}/bridge.js)

# The application icons of the page's manifest, drawn by the asset tools
# built for the build machine.
file(GLOB DOVEZI_ASSETS_SOURCES CONFIGURE_DEPENDS tools/assets/*.cpp)
set(DOVEZI_HOST_ASSETS ${CMAKE_BINARY_DIR}/host/dovezi-assets)
add_custom_command(OUTPUT ${DOVEZI_HOST_ASSETS}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/host
    COMMAND ${DOVEZI_HOST_CXX} -std=c++20 -O1 -I${CMAKE_SOURCE_DIR} ${DOVEZI_ASSETS_SOURCES} -o ${DOVEZI_HOST_ASSETS}
    DEPENDS ${DOVEZI_ASSETS_SOURCES}
    COMMENT "Building the asset tools for the build machine")
set(DOVEZI_WEB_ICONS ${DOVEZI_PAGE_DIR}/icon-192.png ${DOVEZI_PAGE_DIR}/icon-512.png)
add_custom_command(OUTPUT ${DOVEZI_WEB_ICONS}
    COMMAND ${DOVEZI_HOST_ASSETS} --web-icons ${DOVEZI_PAGE_DIR}
    DEPENDS ${DOVEZI_HOST_ASSETS}
    COMMENT "Drawing the page's application icons")
add_custom_target(page_icons ALL DEPENDS ${DOVEZI_WEB_ICONS})

# The page's own files and the music's beside the program.
file(GLOB DOVEZI_PAGE_FILES CONFIGURE_DEPENDS ${DOVEZI_PAGE}/*.html ${DOVEZI_PAGE}/*.css ${DOVEZI_PAGE}/*.js
    ${DOVEZI_PAGE}/*.webmanifest)
list(FILTER DOVEZI_PAGE_FILES EXCLUDE REGEX "bridge\\.js$")
add_custom_target(page ALL
    COMMAND ${CMAKE_COMMAND} -E make_directory ${DOVEZI_PAGE_DIR}
    COMMAND ${CMAKE_COMMAND} -E copy_if_different ${DOVEZI_PAGE_FILES} ${DOVEZI_PAGE_DIR}
    COMMAND ${CMAKE_COMMAND} -E copy_if_different ${CMAKE_SOURCE_DIR}/res/Dovezi.ico ${DOVEZI_PAGE_DIR}/favicon.ico
    COMMAND ${CMAKE_SOURCE_DIR}/tools/web/copy-music-files.sh ${DOVEZI_PAGE_DIR}
    COMMENT "Copying the page's files")

if(DOVEZI_TESTS)
    enable_testing()
    # The page in a headless browser: the saver, its input, the sheet and the music.
    add_test(NAME web_page COMMAND ${CMAKE_SOURCE_DIR}/tests/web/page_test.sh ${DOVEZI_PAGE_DIR})
    set_tests_properties(web_page PROPERTIES LABELS web SKIP_RETURN_CODE 77 TIMEOUT 240)
    # The site as a plain static server serves it, and offline on a second visit.
    add_test(NAME web_site COMMAND ${CMAKE_SOURCE_DIR}/tests/web/page_test.sh ${DOVEZI_PAGE_DIR}
        ${CMAKE_SOURCE_DIR}/tests/web/site_test.mjs)
    set_tests_properties(web_site PROPERTIES LABELS web SKIP_RETURN_CODE 77 TIMEOUT 240
        ENVIRONMENT DOVEZI_PLAIN_SERVER=1)
endif()
