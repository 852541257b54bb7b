# SPDX-License-Identifier: MIT
# pellimo_add_test(NAME <name> SOURCES <files...> LIBS <targets...> [LABELS <labels...>])
# Builds one Qt Test executable and registers it with CTest on the offscreen platform.
find_package(Qt6 REQUIRED COMPONENTS Test)

function(pellimo_add_test)
    cmake_parse_arguments(T "" "NAME" "SOURCES;LIBS;LABELS" ${ARGN})
    add_executable(${T_NAME} ${T_SOURCES})
    target_link_libraries(${T_NAME} PRIVATE Qt6::Test ${T_LIBS})
    target_include_directories(${T_NAME} PRIVATE ${PROJECT_SOURCE_DIR}/tests/common)
    target_compile_definitions(${T_NAME} PRIVATE
        PELLIMO_TEST_DATA="${PROJECT_SOURCE_DIR}/tests/data"
        PELLIMO_TRANSLATIONS_DIR="${PROJECT_BINARY_DIR}/src/translations")
    add_dependencies(${T_NAME} pellimo_translations)
    add_test(NAME ${T_NAME} COMMAND ${T_NAME})
    set_tests_properties(${T_NAME} PROPERTIES
        ENVIRONMENT "QT_QPA_PLATFORM=offscreen;LC_ALL=C.UTF-8;TZ=Asia/Tokyo"
        LABELS "${T_LABELS}"
        TIMEOUT 120)
endfunction()
