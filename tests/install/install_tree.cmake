# Installs the build folder BUILD into the folder ROOT with the prefix PREFIX, as a packager
# does (DESTDIR), into an empty ROOT: cmake -DBUILD=... -DROOT=... -DPREFIX=... -P install_tree.cmake
foreach(var BUILD ROOT PREFIX)
    if(NOT DEFINED ${var})
        message(FATAL_ERROR "${var} is not set")
    endif()
endforeach()
file(REMOVE_RECURSE "${ROOT}")
file(MAKE_DIRECTORY "${ROOT}")
execute_process(COMMAND "${CMAKE_COMMAND}" -E env "DESTDIR=${ROOT}"
                        "${CMAKE_COMMAND}" --install "${BUILD}" --prefix "${PREFIX}"
                RESULT_VARIABLE installed)
if(NOT installed EQUAL 0)
    message(FATAL_ERROR "cmake --install failed (${installed})")
endif()
