# Settings every target of the project shares: warnings, Qt defines, sanitizers.
add_library(velmarin_common INTERFACE)
target_compile_options(velmarin_common INTERFACE -Wall -Wextra)
target_compile_definitions(velmarin_common INTERFACE
    QT_NO_CONTEXTLESS_CONNECT
    QT_NO_KEYWORDS
    VELMARIN_VERSION="${PROJECT_VERSION}")

if(VELMARIN_SANITIZE)
    target_compile_options(velmarin_common INTERFACE
        -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
    target_link_options(velmarin_common INTERFACE -fsanitize=address,undefined)
endif()

if(VELMARIN_FUZZ)
    if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
        message(FATAL_ERROR "VELMARIN_FUZZ needs clang: configure with CXX=clang++")
    endif()
    # The libraries carry coverage instrumentation; only the fuzz targets link libFuzzer's main.
    target_compile_options(velmarin_common INTERFACE -fsanitize=fuzzer-no-link,address,undefined)
    target_link_options(velmarin_common INTERFACE -fsanitize=address,undefined)
endif()
