# Warnings and sanitizers for every target of the project, through one interface
# target instead of directory-wide flags.
add_library(sundrel_build_flags INTERFACE)
add_library(Sundrel::build_flags ALIAS sundrel_build_flags)

target_compile_options(sundrel_build_flags INTERFACE
    -Wall -Wextra -Wpedantic -Wshadow -Wconversion -Wno-sign-conversion
    -Wnon-virtual-dtor -Wold-style-cast -Woverloaded-virtual -Wformat=2
    $<$<BOOL:${SUNDREL_WARNINGS_AS_ERRORS}>:-Werror>)

if(SUNDREL_SANITIZE)
    set(_sanitize_flags -fsanitize=${SUNDREL_SANITIZE} -fno-omit-frame-pointer
        -fno-sanitize-recover=all)
    target_compile_options(sundrel_build_flags INTERFACE ${_sanitize_flags})
    target_link_options(sundrel_build_flags INTERFACE ${_sanitize_flags})
endif()

# C sources get the warnings that make sense for C.
function(sundrel_use_flags target)
    target_link_libraries(${target} PRIVATE sundrel_build_flags)
endfunction()
