# Options every Vanisto target shares: the language level, warnings and string strictness.
add_library(vanisto_build_options INTERFACE)
target_compile_features(vanisto_build_options INTERFACE cxx_std_20)
target_compile_options(vanisto_build_options INTERFACE -Wall -Wextra -Wpedantic)
target_compile_definitions(vanisto_build_options INTERFACE
    QT_NO_CAST_FROM_ASCII QT_NO_CAST_TO_ASCII QT_NO_NARROWING_CONVERSIONS_IN_CONNECT
    QT_NO_KEYWORDS _FILE_OFFSET_BITS=64)
if(VANISTO_SANITIZE)
    target_compile_options(vanisto_build_options INTERFACE -fsanitize=address,undefined -fno-omit-frame-pointer)
    target_link_options(vanisto_build_options INTERFACE -fsanitize=address,undefined)
endif()
if(VANISTO_COVERAGE)
    target_compile_options(vanisto_build_options INTERFACE --coverage)
    target_link_options(vanisto_build_options INTERFACE --coverage)
endif()

# vanisto_add_library(name SOURCES ... LIBS ...): one static library per folder of src/.
function(vanisto_add_library name)
    cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
    add_library(${name} STATIC ${ARG_SOURCES})
    target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
    target_link_libraries(${name} PUBLIC vanisto_build_options ${ARG_LIBS})
endfunction()
