# Read by CPack for each package it makes: its archives take their time
# stamps from SOURCE_DATE_EPOCH, worked out when the project was configured.
if(NOT CPACK_NUMSCAN_SOURCE_DATE_EPOCH STREQUAL "")
    set(ENV{SOURCE_DATE_EPOCH} "${CPACK_NUMSCAN_SOURCE_DATE_EPOCH}")
endif()
