# The dialect's fuzz target. Every build replays the corpus through it; with KORVESTA_FUZZ
# (clang only, see scripts/fuzz.sh) it is also built as a libFuzzer program.
add_library(korvesta_dialectfuzz STATIC ${CMAKE_CURRENT_SOURCE_DIR}/fuzz/dialectfuzz.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/fuzz/sheetfuzz.cpp)
target_link_libraries(korvesta_dialectfuzz PUBLIC korvesta_core)

add_executable(fuzz_replay ${CMAKE_CURRENT_SOURCE_DIR}/fuzz/replay.cpp)
target_link_libraries(fuzz_replay PRIVATE korvesta_dialectfuzz)
add_test(NAME fuzz_corpus COMMAND fuzz_replay ${CMAKE_CURRENT_SOURCE_DIR}/fuzz/corpus)
set_tests_properties(fuzz_corpus PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
# The readers of imported tables, over their own corpus of books and CSV texts.
add_test(NAME fuzz_sheets COMMAND fuzz_replay --sheets ${CMAKE_CURRENT_SOURCE_DIR}/fuzz/sheets)

option(KORVESTA_FUZZ "Build the libFuzzer target fuzz_dialect (clang)" OFF)
if(KORVESTA_FUZZ)
    add_executable(fuzz_dialect ${CMAKE_CURRENT_SOURCE_DIR}/fuzz/fuzzmain.cpp)
    target_link_libraries(fuzz_dialect PRIVATE korvesta_dialectfuzz)
    target_link_options(fuzz_dialect PRIVATE -fsanitize=fuzzer)
    add_executable(fuzz_sheet ${CMAKE_CURRENT_SOURCE_DIR}/fuzz/sheetfuzzmain.cpp)
    target_link_libraries(fuzz_sheet PRIVATE korvesta_dialectfuzz)
    target_link_options(fuzz_sheet PRIVATE -fsanitize=fuzzer)
endif()
