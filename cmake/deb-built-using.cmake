# Run by CPack once it has made the packages: adds a Built-Using field to the
# .deb, naming the source of the C library that the static program carries,
# as Debian asks of such a package. CPack has no variable for the field.
foreach(package IN LISTS CPACK_PACKAGE_FILES)
    if(NOT package MATCHES "\\.deb$" OR CPACK_NUMSCAN_BUILT_USING STREQUAL "")
        continue()
    endif()
    set(tree "${CPACK_TOPLEVEL_DIRECTORY}/built-using")
    file(REMOVE_RECURSE "${tree}")
    execute_process(COMMAND dpkg-deb --raw-extract "${package}" "${tree}" COMMAND_ERROR_IS_FATAL ANY)
    # The extraction's modes depend on the umask; the package's must not.
    execute_process(COMMAND chmod -R u+rwX,go+rX,go-w "${tree}" COMMAND_ERROR_IS_FATAL ANY)
    file(READ "${tree}/DEBIAN/control" control)
    string(STRIP "${control}" control)
    file(WRITE "${tree}/DEBIAN/control" "${control}\nBuilt-Using: ${CPACK_NUMSCAN_BUILT_USING}\n")
    execute_process(COMMAND dpkg-deb --root-owner-group --build "${tree}" "${package}"
        OUTPUT_QUIET COMMAND_ERROR_IS_FATAL ANY)
    file(REMOVE_RECURSE "${tree}")
endforeach()
