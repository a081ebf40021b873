# Warnings are errors everywhere; sanitizer and fuzzer instrumentation for
# the whole build when asked for.
add_compile_options(-Wall -Wextra -Wpedantic -Wshadow -Wconversion -Wno-sign-conversion -Werror)

if(DOVEZI_SANITIZE)
    add_compile_options(-fsanitize=${DOVEZI_SANITIZE} -fno-omit-frame-pointer -fno-sanitize-recover=all)
    add_link_options(-fsanitize=${DOVEZI_SANITIZE})
endif()

if(DOVEZI_FUZZ)
    add_compile_options(-fsanitize=fuzzer-no-link)
endif()
