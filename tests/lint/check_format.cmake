# cmake -DCLANG_FORMAT=<program> -DSOURCE=<source folder> -P check_format.cmake
# Runs clang-format --dry-run --Werror over the C++ files of src, tests, bench and packaging.
if(NOT CLANG_FORMAT)
    # The test reads this line as skipped: it neither passes nor fails without the program.
    message(FATAL_ERROR "clang-format not found (tools/install-deps installs it)")
endif()
set(patterns "")
foreach(dir src tests bench packaging)
    list(APPEND patterns ${SOURCE}/${dir}/*.cpp ${SOURCE}/${dir}/*.h)
endforeach()
file(GLOB_RECURSE files ${patterns})
list(SORT files)
list(LENGTH files count)
if(count EQUAL 0)
    message(FATAL_ERROR "no C++ files under ${SOURCE}")
endif()
execute_process(COMMAND ${CLANG_FORMAT} --dry-run --Werror ${files}
                WORKING_DIRECTORY ${SOURCE} RESULT_VARIABLE result)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "out of style (clang-format -i <file> fixes it): see above")
endif()
message("${count} files in style")
