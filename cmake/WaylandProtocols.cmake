# dovezi_wayland_protocols(NAME XML...): a library of the client code that
# wayland-scanner makes of each protocol, its headers in the build folder's
# generated/wayland, found by their protocol's file name
# (NAME-client-protocol.h).
function(dovezi_wayland_protocols name)
    set(out ${CMAKE_BINARY_DIR}/generated/wayland)
    file(MAKE_DIRECTORY ${out})
    set(sources)
    foreach(xml ${ARGN})
        get_filename_component(base ${xml} NAME_WE)
        add_custom_command(OUTPUT ${out}/${base}-client-protocol.h ${out}/${base}-protocol.c
            COMMAND ${WAYLAND_SCANNER} client-header ${xml} ${out}/${base}-client-protocol.h
            COMMAND ${WAYLAND_SCANNER} private-code ${xml} ${out}/${base}-protocol.c
            DEPENDS ${xml}
            COMMENT "Generating the Wayland protocol code of ${base}")
        list(APPEND sources ${out}/${base}-protocol.c ${out}/${base}-client-protocol.h)
    endforeach()
    add_library(${name} STATIC ${sources})
    target_include_directories(${name} PUBLIC ${out})
endfunction()

# dovezi_wayland_server_headers(TARGET XML...): the compositor's side of each
# protocol, for a test that plays the compositor (NAME-server-protocol.h in
# the same folder).
function(dovezi_wayland_server_headers target)
    set(out ${CMAKE_BINARY_DIR}/generated/wayland)
    set(headers)
    foreach(xml ${ARGN})
        get_filename_component(base ${xml} NAME_WE)
        add_custom_command(OUTPUT ${out}/${base}-server-protocol.h
            COMMAND ${WAYLAND_SCANNER} server-header ${xml} ${out}/${base}-server-protocol.h
            DEPENDS ${xml}
            COMMENT "Generating the Wayland compositor header of ${base}")
        list(APPEND headers ${out}/${base}-server-protocol.h)
    endforeach()
    target_sources(${target} PRIVATE ${headers})
    target_include_directories(${target} PRIVATE ${out})
endfunction()
