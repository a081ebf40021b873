# The Linux program: the core over the X11 platform, the in-memory (virtual)
# platform of the record mode and the tests, and the services they share,
# one library per folder of platform/.
find_package(PkgConfig REQUIRED)
pkg_check_modules(X11 REQUIRED IMPORTED_TARGET x11 xext xrandr)
pkg_check_modules(XSS REQUIRED IMPORTED_TARGET xscrnsaver)
pkg_check_modules(GTK3 REQUIRED IMPORTED_TARGET gtk+-3.0)
pkg_check_modules(ALSA REQUIRED IMPORTED_TARGET alsa)
pkg_check_modules(FLUIDSYNTH REQUIRED IMPORTED_TARGET fluidsynth)
pkg_check_modules(PNG REQUIRED IMPORTED_TARGET libpng)
pkg_check_modules(PULSE REQUIRED IMPORTED_TARGET libpulse)
pkg_check_modules(SYSTEMD REQUIRED IMPORTED_TARGET libsystemd)
pkg_check_modules(WAYLAND REQUIRED IMPORTED_TARGET wayland-client)
pkg_check_modules(WAYLAND_SERVER REQUIRED IMPORTED_TARGET wayland-server)
pkg_get_variable(WAYLAND_PROTOCOLS_DIR wayland-protocols pkgdatadir)
find_program(WAYLAND_SCANNER wayland-scanner REQUIRED)
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

include(cmake/PlatformLibrary.cmake)

# POSIX glue: files, processes, signals, real-time scheduling.
dovezi_platform_library(dovezi_posix platform/posix)
target_link_libraries(dovezi_posix PRIVATE PkgConfig::SYSTEMD Threads::Threads)

# The services the X11 and virtual platforms share.
dovezi_platform_library(dovezi_resources platform/resources ${DOVEZI_EMBEDDED})
dovezi_platform_library(dovezi_dialog platform/dialog)
dovezi_platform_library(dovezi_queue platform/queue)
dovezi_platform_library(dovezi_present platform/present)
target_link_libraries(dovezi_present PRIVATE PkgConfig::PNG)
dovezi_platform_library(dovezi_regfile platform/regfile)
target_link_libraries(dovezi_regfile PRIVATE Threads::Threads)

dovezi_platform_library(dovezi_stream platform/stream)
target_link_libraries(dovezi_stream PUBLIC PkgConfig::FLUIDSYNTH PRIVATE dovezi_posix Threads::Threads)

# The Linux program's MIDI outputs, and its settings sheet.
dovezi_platform_library(dovezi_sound platform/sound)
target_link_libraries(dovezi_sound PUBLIC dovezi_stream PkgConfig::ALSA
    PRIVATE dovezi_posix PkgConfig::PULSE Threads::Threads)

# The settings sheet is a module of its own (GTK 3), which the dialog host
# loads when a sheet is shown: the saver never loads the toolkit. Installed
# in the library folder, which the host finds from the program's folder.
include(GNUInstallDirs)
file(RELATIVE_PATH DOVEZI_SHEET_FROM_BIN ${CMAKE_INSTALL_FULL_BINDIR} ${CMAKE_INSTALL_FULL_LIBDIR}/dovezi)
file(RELATIVE_PATH DOVEZI_SHEET_FROM_HACKS ${CMAKE_INSTALL_FULL_LIBEXECDIR}/xscreensaver
    ${CMAKE_INSTALL_FULL_LIBDIR}/dovezi)
dovezi_platform_library(dovezi_sheet platform/sheet)
target_link_libraries(dovezi_sheet PRIVATE dovezi_posix ${CMAKE_DL_LIBS})
target_compile_definitions(dovezi_sheet PRIVATE DOVEZI_SHEET_FROM_BIN="${DOVEZI_SHEET_FROM_BIN}"
    DOVEZI_SHEET_FROM_HACKS="${DOVEZI_SHEET_FROM_HACKS}")

dovezi_platform_library(dovezi_gtk platform/gtk)
target_link_libraries(dovezi_gtk PUBLIC dovezi_dialog PkgConfig::GTK3)
set_target_properties(dovezi_gtk dovezi_dialog PROPERTIES POSITION_INDEPENDENT_CODE ON)
add_library(dovezi_sheet_module MODULE platform/gtk/GtkSheetMain.cpp)
target_link_libraries(dovezi_sheet_module PRIVATE dovezi_gtk)
set_target_properties(dovezi_sheet_module PROPERTIES OUTPUT_NAME dovezi-sheet PREFIX "" CXX_VISIBILITY_PRESET hidden)

# The platforms.
dovezi_platform_library(dovezi_x11 platform/x11)
target_link_libraries(dovezi_x11 PUBLIC dovezi_sheet dovezi_posix dovezi_present dovezi_queue dovezi_resources
    dovezi_sound dovezi_stream PkgConfig::X11)

# The Wayland protocols the saver speaks beyond the core protocol: those of
# Debian's wayland-protocols, and the interfaces written down in
# platform/wayland/protocols.
include(cmake/WaylandProtocols.cmake)
dovezi_wayland_protocols(dovezi_wayland_protocols
    ${WAYLAND_PROTOCOLS_DIR}/stable/xdg-shell/xdg-shell.xml
    ${WAYLAND_PROTOCOLS_DIR}/stable/viewporter/viewporter.xml
    ${WAYLAND_PROTOCOLS_DIR}/unstable/xdg-output/xdg-output-unstable-v1.xml
    ${CMAKE_SOURCE_DIR}/platform/wayland/protocols/wlr-layer-shell-unstable-v1.xml
    ${CMAKE_SOURCE_DIR}/platform/wayland/protocols/wlr-screencopy-unstable-v1.xml
    ${CMAKE_SOURCE_DIR}/platform/wayland/protocols/ext-image-capture-source-v1.xml
    ${CMAKE_SOURCE_DIR}/platform/wayland/protocols/ext-image-copy-capture-v1.xml
    ${CMAKE_SOURCE_DIR}/platform/wayland/protocols/wlr-output-power-management-unstable-v1.xml)
target_link_libraries(dovezi_wayland_protocols PUBLIC PkgConfig::WAYLAND)

dovezi_platform_library(dovezi_wayland platform/wayland)
target_link_libraries(dovezi_wayland PUBLIC dovezi_sheet dovezi_posix dovezi_present dovezi_queue dovezi_resources
    dovezi_sound dovezi_stream PRIVATE dovezi_wayland_protocols)

# The resident idle mode, over the compositor's idle protocols, GNOME's idle
# monitor on the session bus and the X screen-saver extension.
dovezi_wayland_protocols(dovezi_idle_protocols
    ${WAYLAND_PROTOCOLS_DIR}/staging/ext-idle-notify/ext-idle-notify-v1.xml
    ${CMAKE_SOURCE_DIR}/platform/idle/protocols/kde-idle.xml)
target_link_libraries(dovezi_idle_protocols PUBLIC PkgConfig::WAYLAND)
dovezi_platform_library(dovezi_idle platform/idle)
target_link_libraries(dovezi_idle PRIVATE dovezi_idle_protocols dovezi_posix PkgConfig::SYSTEMD PkgConfig::X11
    PkgConfig::XSS)

dovezi_platform_library(dovezi_linux platform/linux)

dovezi_platform_library(dovezi_virtual platform/virtual)
target_link_libraries(dovezi_virtual PUBLIC dovezi_dialog dovezi_posix dovezi_present dovezi_queue
    dovezi_resources dovezi_stream PRIVATE dovezi_core PkgConfig::PNG)

add_executable(Dovezi platform/linux/LinuxMain.cpp)
set_source_files_properties(platform/linux/CommandLineHelp.cpp PROPERTIES
    COMPILE_DEFINITIONS DOVEZI_VERSION="${PROJECT_VERSION}")
target_link_libraries(Dovezi PRIVATE dovezi_core dovezi_idle dovezi_linux dovezi_posix dovezi_regfile dovezi_virtual dovezi_wayland
    dovezi_x11)
add_dependencies(Dovezi dovezi_sheet_module)

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
