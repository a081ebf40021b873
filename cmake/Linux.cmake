# The Linux program: the core over the X11, POSIX and virtual platforms.
find_package(PkgConfig REQUIRED)
pkg_check_modules(X11 REQUIRED IMPORTED_TARGET x11 xext)
pkg_check_modules(GTK3 REQUIRED IMPORTED_TARGET gtk+-3.0)
pkg_check_modules(ALSA REQUIRED IMPORTED_TARGET alsa)
pkg_check_modules(FLUIDSYNTH REQUIRED IMPORTED_TARGET fluidsynth)
pkg_check_modules(PNG REQUIRED IMPORTED_TARGET libpng)
pkg_check_modules(PULSE REQUIRED IMPORTED_TARGET libpulse-simple)
pkg_check_modules(SYSTEMD REQUIRED IMPORTED_TARGET libsystemd)
find_package(Threads REQUIRED)

# The resource compiler runs on the build machine.
file(GLOB DOVEZI_RESCOMP_SOURCES CONFIGURE_DEPENDS tools/rescomp/*.cpp)
add_executable(rescomp ${DOVEZI_RESCOMP_SOURCES})
target_include_directories(rescomp PRIVATE ${CMAKE_SOURCE_DIR})
set(DOVEZI_EMBEDDED ${CMAKE_BINARY_DIR}/generated/EmbeddedResources.cpp)
add_custom_command(OUTPUT ${DOVEZI_EMBEDDED}
    COMMAND rescomp ${DOVEZI_RC} ${DOVEZI_EMBEDDED}
    DEPENDS rescomp ${DOVEZI_RES_FILES}
    COMMENT "Embedding the module's resources")

function(dovezi_platform_library name folder)
    file(GLOB_RECURSE sources CONFIGURE_DEPENDS ${folder}/*.cpp)
    list(FILTER sources EXCLUDE REGEX "Main\\.cpp$")
    add_library(${name} STATIC ${sources} ${ARGN})
    target_include_directories(${name} PUBLIC ${CMAKE_SOURCE_DIR})
endfunction()

dovezi_platform_library(dovezi_common platform/common ${DOVEZI_EMBEDDED})
target_link_libraries(dovezi_common PUBLIC dovezi_core Threads::Threads)

dovezi_platform_library(dovezi_posix platform/posix)
target_link_libraries(dovezi_posix PUBLIC dovezi_common PkgConfig::FLUIDSYNTH PkgConfig::SYSTEMD)

dovezi_platform_library(dovezi_virtual platform/virtual)
target_link_libraries(dovezi_virtual PUBLIC dovezi_posix PkgConfig::PNG)

dovezi_platform_library(dovezi_x11 platform/x11)
target_link_libraries(dovezi_x11 PUBLIC dovezi_posix PkgConfig::X11 PkgConfig::GTK3 PkgConfig::ALSA
    PkgConfig::FLUIDSYNTH PkgConfig::PULSE)

add_executable(Dovezi platform/x11/LinuxMain.cpp)
set_source_files_properties(platform/x11/CommandLineHelp.cpp PROPERTIES
    COMPILE_DEFINITIONS DOVEZI_VERSION="${PROJECT_VERSION}")
target_link_libraries(Dovezi PRIVATE dovezi_x11 dovezi_virtual)

file(GLOB DOVEZI_TOOLS CONFIGURE_DEPENDS tools/*/CMakeLists.txt)
foreach(tool ${DOVEZI_TOOLS})
    get_filename_component(tool_dir ${tool} DIRECTORY)
    add_subdirectory(${tool_dir})
endforeach()

if(DOVEZI_TESTS)
    enable_testing()
    add_subdirectory(tests)
endif()
if(DOVEZI_BENCH AND NOT DOVEZI_SANITIZE)
    add_subdirectory(bench)
endif()
include(cmake/Install.cmake)
