# What every target of the project is built with, as one INTERFACE target
# that each of them links: the warnings, and Qt's strict string handling
# (no silent conversions between 8-bit text and QString or QByteArray, no
# narrowing in signal connections, no Qt keyword macros' old foreach).
add_library(tarvo_build_options INTERFACE)
target_compile_options(tarvo_build_options INTERFACE -Wall -Wextra -Wpedantic)
target_compile_definitions(tarvo_build_options INTERFACE
    QT_NO_CAST_FROM_ASCII
    QT_NO_CAST_TO_ASCII
    QT_NO_CAST_FROM_BYTEARRAY
    QT_NO_URL_CAST_FROM_STRING
    QT_NO_NARROWING_CONVERSIONS_IN_CONNECT
    QT_NO_FOREACH
    QT_NO_JAVA_STYLE_ITERATORS
    QT_USE_QSTRINGBUILDER)
if(TARVO_SANITIZE)
    target_compile_options(tarvo_build_options INTERFACE
        -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
    target_link_options(tarvo_build_options INTERFACE -fsanitize=address,undefined)
endif()

# The version of project(), for the window title, the About box and
# tarvo-prg --version: #include "tarvoversion.h".
configure_file(${CMAKE_CURRENT_LIST_DIR}/tarvoversion.h.in
               ${PROJECT_BINARY_DIR}/generated/tarvoversion.h @ONLY)
# The build's time stamp for the About box: #include "tarvobuildstamp.h".
# string(TIMESTAMP) takes SOURCE_DATE_EPOCH from the environment when set.
string(TIMESTAMP TARVO_BUILD_EPOCH "%s" UTC)
configure_file(${CMAKE_CURRENT_LIST_DIR}/tarvobuildstamp.h.in
               ${PROJECT_BINARY_DIR}/generated/tarvobuildstamp.h @ONLY)
target_include_directories(tarvo_build_options INTERFACE ${PROJECT_BINARY_DIR}/generated)
