# Prints the hosts numscan is built and tested for, one line each:
#   PRESET HOST TRIPLET LAUNCHER DEB
# (DEB is ON for a host whose release includes a .deb)
# read from CMakePresets.json, the one list of them: a host is a configure
# preset that inherits the hidden preset "host". The setup and test scripts
# and the release read the list here, so that adding a host touches the
# presets alone.
#   cmake -P cmake/hosts.cmake
cmake_minimum_required(VERSION 3.25)
file(READ "${CMAKE_CURRENT_LIST_DIR}/../CMakePresets.json" presets)
string(JSON count LENGTH "${presets}" configurePresets)
math(EXPR last "${count} - 1")

# Index of the configure preset called name in out, or -1.
function(find_preset name out)
    foreach(i RANGE ${last})
        string(JSON candidate GET "${presets}" configurePresets ${i} name)
        if(candidate STREQUAL name)
            set(${out} ${i} PARENT_SCOPE)
            return()
        endif()
    endforeach()
    set(${out} -1 PARENT_SCOPE)
endfunction()

# The names of the presets that preset i inherits from, in out.
function(parents i out)
    string(JSON kind ERROR_VARIABLE missing TYPE "${presets}" configurePresets ${i} inherits)
    set(names "")
    if(kind STREQUAL "STRING")
        string(JSON names GET "${presets}" configurePresets ${i} inherits)
    elseif(kind STREQUAL "ARRAY")
        string(JSON n LENGTH "${presets}" configurePresets ${i} inherits)
        math(EXPR n "${n} - 1")
        foreach(k RANGE ${n})
            string(JSON parent GET "${presets}" configurePresets ${i} inherits ${k})
            list(APPEND names ${parent})
        endforeach()
    endif()
    set(${out} "${names}" PARENT_SCOPE)
endfunction()

# The cache variable variable of preset i, as the preset or the first parent
# that sets it gives it, in out (empty when none does).
function(cache_variable i variable out)
    string(JSON value ERROR_VARIABLE missing GET "${presets}" configurePresets ${i} cacheVariables ${variable})
    if(missing)
        set(value "")
        parents(${i} names)
        foreach(parent IN LISTS names)
            find_preset(${parent} p)
            cache_variable(${p} ${variable} value)
            if(NOT value STREQUAL "")
                break()
            endif()
        endforeach()
    endif()
    set(${out} "${value}" PARENT_SCOPE)
endfunction()

foreach(i RANGE ${last})
    parents(${i} names)
    if(NOT "host" IN_LIST names)
        continue()
    endif()
    string(JSON preset GET "${presets}" configurePresets ${i} name)
    set(line "${preset}")
    foreach(variable NUMSCAN_HOST NUMSCAN_HOST_TRIPLET NUMSCAN_HOST_LAUNCHER NUMSCAN_HOST_DEB)
        cache_variable(${i} ${variable} value)
        string(REPLACE "\${presetName}" "${preset}" value "${value}")
        string(APPEND line " ${value}")
    endforeach()
    execute_process(COMMAND ${CMAKE_COMMAND} -E echo "${line}")
endforeach()
