# Warnings are errors everywhere; sanitizer and fuzzer instrumentation for
# the whole build when asked for.
add_compile_options(-Wall -Wextra -Wpedantic -Wshadow -Wconversion -Wno-sign-conversion -Werror)

# The page, core included: vector rows, the machine's own block copies, and
# WebAssembly's exceptions.
if(EMSCRIPTEN)
    add_compile_options(-msimd128 -msse2 -mbulk-memory -fwasm-exceptions)
    add_link_options(-fwasm-exceptions -mbulk-memory)
endif()

if(DOVEZI_SANITIZE)
    add_compile_options(-fsanitize=${DOVEZI_SANITIZE} -fno-omit-frame-pointer -fno-sanitize-recover=all)
    add_link_options(-fsanitize=${DOVEZI_SANITIZE})
endif()

if(DOVEZI_FUZZ)
    add_compile_options(-fsanitize=fuzzer-no-link)
endif()
