# The Windows build (the "windows" preset: MinGW-w64, the programs run under Wine). Each test
# program runs once under Wine; the first test makes the build's own Wine prefix. Tests that need
# what Windows lacks (a limit on file sizes, symbolic links, permission bits) skip themselves
# there (tests/support/FileConditions.h).

# Test sources that do not build for Windows.
set(SKERRY_NOT_ON_WINDOWS_SOURCES
    # file creation masks (umask), fifos (mkfifo) and permission bits read with stat()
    ${CMAKE_CURRENT_SOURCE_DIR}/ground/FileIOTest.cpp
    # kills skerry-batch part way through with SIGKILL, having started it with posix_spawn,
    # and runs it through a POSIX shell (quoting, /dev/full, WEXITSTATUS)
    ${CMAKE_CURRENT_SOURCE_DIR}/batch/BatchProcessTest.cpp
    # the fuzz targets' checks it replays make their folder with mkdtemp and open files by
    # narrow names (fuzz/FuzzTargets.cpp), so the fuzz folder is not built for Windows
    ${CMAKE_CURRENT_SOURCE_DIR}/subsystems/FuzzReplayTest.cpp)

add_test(NAME wine_prefix COMMAND ${CMAKE_CROSSCOMPILING_EMULATOR} wineboot --init)
set_tests_properties(wine_prefix PROPERTIES FIXTURES_SETUP wine_prefix)

function(skerry_add_wine_test name)
    add_test(NAME ${name} COMMAND ${name})
    set_tests_properties(${name} PROPERTIES FIXTURES_REQUIRED wine_prefix)
endfunction()

# skerry-batch.exe gives byte for byte what the Linux skerry-batch gives (make test-windows
# builds that one first).
set(SKERRY_LINUX_BATCH ${PROJECT_SOURCE_DIR}/build/bin/skerry-batch
    CACHE FILEPATH "The Linux skerry-batch that the Windows one is compared with")
add_test(NAME batch_outputs_as_on_linux
         COMMAND ${PROJECT_SOURCE_DIR}/tools/compare-batch-outputs.sh ${SKERRY_LINUX_BATCH}
                 ${PROJECT_SOURCE_DIR}/examples ${CMAKE_CROSSCOMPILING_EMULATOR}
                 $<TARGET_FILE:skerry-batch>)
set_tests_properties(batch_outputs_as_on_linux PROPERTIES FIXTURES_REQUIRED wine_prefix)
