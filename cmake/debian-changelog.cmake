# Writes the Debian changelog of the package from CHANGELOG.md, whose
# releases are headed "## VERSION (YYYY-MM-DD)" and whose changes are "- "
# items, continued on lines indented by two blanks:
#   cmake -DSOURCE=CHANGELOG.md -DOUTPUT=changelog -DMAINTAINER="Name <address>" -P debian-changelog.cmake
file(READ "${SOURCE}" text)
# Keeps a ';' in the text from splitting the list of lines.
string(REPLACE ";" "<semicolon>" text "${text}")
string(REPLACE "\n" ";" lines "${text}")

set(changelog "")
set(version "")
macro(end_release)
    if(version)
        execute_process(COMMAND date -u -R -d "${date}" OUTPUT_VARIABLE stamp
            OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
        string(APPEND changelog "numscan (${version}) unstable; urgency=medium\n\n${items}\n"
            " -- ${MAINTAINER}  ${stamp}\n\n")
    endif()
endmacro()
foreach(line IN LISTS lines)
    if(line MATCHES "^## ([^ ]+) \\(([0-9]+-[0-9]+-[0-9]+)\\)$")
        end_release()
        set(version "${CMAKE_MATCH_1}")
        set(date "${CMAKE_MATCH_2}")
        set(items "")
    elseif(version AND line MATCHES "^- (.*)$")
        string(APPEND items "  * ${CMAKE_MATCH_1}\n")
    elseif(version AND line MATCHES "^  (.*)$")
        string(APPEND items "    ${CMAKE_MATCH_1}\n")
    endif()
endforeach()
end_release()
if(changelog STREQUAL "")
    message(FATAL_ERROR "${SOURCE} holds no release headed \"## VERSION (YYYY-MM-DD)\"")
endif()
string(REPLACE "<semicolon>" ";" changelog "${changelog}")
file(WRITE "${OUTPUT}" "${changelog}")
