# The warnings every build of the project's own code is held to, here and in the Windows cross
# build (tests/windows/cross): with GCC and Clang a warning is an error, so CI, which runs the
# README's test command, fails on one. QUORBROWSER_WARNINGS_AS_ERRORS=OFF keeps them warnings,
# for a newer compiler that finds what this one does not.
option(QUORBROWSER_WARNINGS_AS_ERRORS "A compiler warning in the project's own code fails the build" ON)
if(CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang")
    add_compile_options(-Wall -Wextra -Wshadow)
    if(QUORBROWSER_WARNINGS_AS_ERRORS)
        add_compile_options(-Werror)
    endif()
endif()
