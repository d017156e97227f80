# The menu entry and the AppStream data as desktops and software centres read them.
function(validate)
    execute_process(COMMAND ${ARGN} RESULT_VARIABLE result OUTPUT_VARIABLE output
        ERROR_VARIABLE output)
    if(NOT result EQUAL 0)
        message(FATAL_ERROR "${ARGN}:\n${output}")
    endif()
endfunction()
validate(desktop-file-validate ${STAGE}/usr/share/applications/br.com.quorvane.quorvane.desktop)
validate(appstreamcli validate --no-net --pedantic
    ${STAGE}/usr/share/metainfo/br.com.quorvane.quorvane.metainfo.xml)
