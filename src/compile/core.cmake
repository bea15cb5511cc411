# Compiling a period automatically: the lessons the load lines still need placed by a
# constraint solver (Gecode), around the lessons already there (no widgets).
foreach(part kernel support int search minimodel)
    find_library(GECODE_${part} NAMES gecode${part} REQUIRED)
endforeach()
find_path(GECODE_INCLUDE gecode/kernel.hh REQUIRED)
target_sources(korvesta_core PRIVATE
    ${CMAKE_CURRENT_SOURCE_DIR}/compile/compiler.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/compile/slotsolver.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/compile/softweights.cpp
)
target_include_directories(korvesta_core SYSTEM PRIVATE ${GECODE_INCLUDE})
target_link_libraries(korvesta_core PUBLIC ${GECODE_minimodel} ${GECODE_search} ${GECODE_int}
                      ${GECODE_kernel} ${GECODE_support})
# Gecode's libraries carry no type information for their internal classes, which the
# sanitizer's checks of virtual calls would need.
set_source_files_properties(${CMAKE_CURRENT_SOURCE_DIR}/compile/slotsolver.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/compile/softweights.cpp
                            PROPERTIES COMPILE_OPTIONS "-fno-sanitize=vptr")
