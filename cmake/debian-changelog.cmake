# Writes the Debian changelog of the package from CHANGELOG.md, whose
# releases are headed "## VERSION (YYYY-MM-DD)" and whose changes are "- "
# items, continued on lines indented by two blanks. The newest may be headed
# "## VERSION (unreleased)": its entry then goes to the UNRELEASED
# distribution, dated SOURCE_DATE_EPOCH (or now). The newest version must be
# the package's, and any other "## " heading is an error, so that no change
# is dropped unseen.
#   cmake -DSOURCE=CHANGELOG.md -DOUTPUT=changelog -DVERSION=1.1.0 -DMAINTAINER="Name <address>" -P debian-changelog.cmake
file(READ "${SOURCE}" text)
# Keeps a ';' in the text from splitting the list of lines.
string(REPLACE ";" "<semicolon>" text "${text}")
string(REPLACE "\n" ";" lines "${text}")

set(changelog "")
set(version "")
macro(end_release)
    if(version)
        if(date STREQUAL "unreleased")
            set(distribution UNRELEASED)
            string(TIMESTAMP stamp "%a, %d %b %Y %H:%M:%S +0000" UTC)
        else()
            set(distribution unstable)
            execute_process(COMMAND date -u -R -d "${date}" OUTPUT_VARIABLE stamp
                OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
        endif()
        string(APPEND changelog "numscan (${version}) ${distribution}; urgency=medium\n\n${items}\n"
            " -- ${MAINTAINER}  ${stamp}\n\n")
    endif()
endmacro()
foreach(line IN LISTS lines)
    if(line MATCHES "^## ([^ ]+) \\(([0-9]+-[0-9]+-[0-9]+|unreleased)\\)$")
        set(next_version "${CMAKE_MATCH_1}")
        set(next_date "${CMAKE_MATCH_2}")
        if(NOT version AND NOT next_version STREQUAL VERSION)
            message(FATAL_ERROR "${SOURCE}: the newest release is ${next_version}, the package ${VERSION}")
        endif()
        if(version AND next_date STREQUAL "unreleased")
            message(FATAL_ERROR "${SOURCE}: only the newest release can be unreleased: \"${line}\"")
        endif()
        end_release()
        set(version "${next_version}")
        set(date "${next_date}")
        set(items "")
    elseif(line MATCHES "^## ")
        message(FATAL_ERROR "${SOURCE}: \"${line}\" is no release heading: ## VERSION (YYYY-MM-DD) or ## VERSION (unreleased)")
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
