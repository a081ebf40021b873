# dovezi_platform_library(NAME FOLDER [SOURCES...]): the sources of FOLDER
# (less a program's Main.cpp) and SOURCES, over the seams.
function(dovezi_platform_library name folder)
    file(GLOB_RECURSE sources CONFIGURE_DEPENDS ${folder}/*.cpp)
    list(FILTER sources EXCLUDE REGEX "Main\\.cpp$")
    add_library(${name} STATIC ${sources} ${ARGN})
    target_link_libraries(${name} PUBLIC dovezi_seams)
endfunction()
