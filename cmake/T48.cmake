# Build conventions shared by every module.

add_compile_options(-Wall -Wextra)
if(T48_WERROR)
    add_compile_options(-Werror)
endif()
if(T48_SANITIZE)
    add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
    add_link_options(-fsanitize=address,undefined)
endif()
add_compile_definitions(T48_DEFAULT_ROOT="${T48_ROOT}")
include(${CMAKE_CURRENT_LIST_DIR}/../platform/root/system-paths.cmake)

# Adds each listed folder that holds a CMakeLists.txt.
function(t48_add_subdirectories)
    foreach(dir IN LISTS ARGN)
        if(EXISTS "${CMAKE_CURRENT_SOURCE_DIR}/${dir}/CMakeLists.txt")
            add_subdirectory(${dir})
        endif()
    endforeach()
endfunction()

# Adds every direct subfolder that holds a CMakeLists.txt, in name order.
function(t48_add_all_subdirectories)
    file(GLOB children LIST_DIRECTORIES true "${CMAKE_CURRENT_SOURCE_DIR}/*")
    list(SORT children)
    foreach(child IN LISTS children)
        if(IS_DIRECTORY "${child}" AND EXISTS "${child}/CMakeLists.txt")
            add_subdirectory(${child})
        endif()
    endforeach()
endfunction()

# t48_add_gtest(NAME SOURCES ... LIBS ... [LABELS ...] [TIMEOUT s])
# One GoogleTest program, registered with CTest as one test per program so that
# fixtures that start real processes run once. Tests find the built programs and
# the source tree through T48_BINARY_DIR and T48_SOURCE_DIR.
function(t48_add_gtest name)
    cmake_parse_arguments(T "" "TIMEOUT" "SOURCES;LIBS;LABELS" ${ARGN})
    add_executable(${name} ${T_SOURCES})
    target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest GTest::gmock GTest::gtest_main)
    target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests/support)
    add_test(NAME ${name} COMMAND ${name})
    if(NOT T_TIMEOUT)
        set(T_TIMEOUT 300)
    endif()
    set_tests_properties(${name} PROPERTIES
        TIMEOUT ${T_TIMEOUT}
        LABELS "${T_LABELS}"
        ENVIRONMENT "T48_SOURCE_DIR=${PROJECT_SOURCE_DIR};T48_BINARY_DIR=${PROJECT_BINARY_DIR}")
endfunction()

if(T48_FUZZ)
    add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer)
    add_link_options(-fsanitize=address,undefined)
    add_custom_target(fuzzers)
endif()

# t48_add_fuzzer(NAME SOURCES ... LIBS ... CORPUS dir [SECONDS s])
# A libFuzzer harness, registered with CTest (label "fuzz") as a bounded run over
# its seed corpus. New inputs go to a scratch folder, never into the source tree.
# NAME is t48_<what>_fuzz after its source file <what>-fuzz.cpp.
function(t48_add_fuzzer name)
    cmake_parse_arguments(F "" "CORPUS;SECONDS" "SOURCES;LIBS" ${ARGN})
    if(NOT F_SECONDS)
        set(F_SECONDS 60)
    endif()
    add_executable(${name} ${F_SOURCES})
    target_link_libraries(${name} PRIVATE ${F_LIBS})
    target_link_options(${name} PRIVATE -fsanitize=fuzzer)
    add_dependencies(fuzzers ${name})
    set(scratch "${CMAKE_CURRENT_BINARY_DIR}/${name}-corpus")
    add_test(NAME ${name}
        COMMAND sh -c "mkdir -p '${scratch}' && exec '$<TARGET_FILE:${name}>' -max_total_time=${F_SECONDS} -print_final_stats=1 '${scratch}' '${F_CORPUS}'")
    set_tests_properties(${name} PROPERTIES LABELS fuzz TIMEOUT ${F_SECONDS}0)
endfunction()
