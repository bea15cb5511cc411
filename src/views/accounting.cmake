# The accounting views: timesheet, hours worked of a tutor and of all tutors, busy time.
target_sources(korvesta_core PRIVATE
    ${CMAKE_CURRENT_SOURCE_DIR}/views/accounting/accountingcommon.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/views/accounting/accountingfills.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/views/accounting/accountingtotals.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/views/accounting/busytimefill.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/views/accounting/hoursworkedfill.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/views/accounting/timesheetfill.cpp
)
