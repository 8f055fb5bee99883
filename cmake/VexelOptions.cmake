# Shared compile settings for every target of the project.

# The build is warning-free; CI keeps it so by turning warnings into errors.
option(VEXEL_WERROR "Treat compiler warnings as errors" OFF)

# Floating-point results must not depend on the machine: no fused multiply-add
# contraction and no host-specific instruction sets.
function(vexel_set_warnings target)
    target_compile_options(${target} PRIVATE -Wall -Wextra -ffp-contract=off)
    if(VEXEL_WERROR)
        target_compile_options(${target} PRIVATE -Werror)
    endif()
endfunction()

# A static library of one subsystem; headers are included by path from the
# repository root.
function(vexel_add_library name)
    add_library(${name} STATIC ${ARGN})
    target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
    vexel_set_warnings(${name})
endfunction()

# Sanitizer builds: VEXEL_SANITIZE=address (address + undefined) or thread.
set(VEXEL_SANITIZE "" CACHE STRING "Sanitizer build: empty, address or thread")
if(VEXEL_SANITIZE STREQUAL "address")
    add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=all)
    add_link_options(-fsanitize=address,undefined)
elseif(VEXEL_SANITIZE STREQUAL "thread")
    add_compile_options(-fsanitize=thread -fno-omit-frame-pointer)
    add_link_options(-fsanitize=thread)
elseif(NOT VEXEL_SANITIZE STREQUAL "")
    message(FATAL_ERROR "VEXEL_SANITIZE must be empty, address or thread")
endif()
