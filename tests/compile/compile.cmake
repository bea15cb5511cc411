# Compiling a period automatically, against documents built in code.
korvesta_test(tests_compile
    ${CMAKE_CURRENT_SOURCE_DIR}/data/institutionbuilder.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/compile/compiler_test.cpp
)
