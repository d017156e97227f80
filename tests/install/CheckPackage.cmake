# Builds the Debian package from BUILD into OUTPUT and checks that it carries everything the
# program needs on a machine that has nothing of the build.
file(REMOVE_RECURSE ${OUTPUT})
execute_process(COMMAND cpack -G DEB -B ${OUTPUT} WORKING_DIRECTORY ${BUILD}
    RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "cpack failed:\n${output}")
endif()
file(GLOB packages ${OUTPUT}/quorvane_*.deb)
list(LENGTH packages count)
if(NOT count EQUAL 1)
    message(FATAL_ERROR "expected one package in ${OUTPUT}, found: ${packages}")
endif()
execute_process(COMMAND dpkg-deb --contents ${packages} OUTPUT_VARIABLE contents
    RESULT_VARIABLE result)
execute_process(COMMAND dpkg-deb --field ${packages} Depends OUTPUT_VARIABLE depends)
foreach(expected
        ./usr/bin/quorvane
        ./usr/bin/quorvane-catalog
        ./usr/bin/quorvane-swfinfo
        ./usr/share/quorvane/engine/player.html
        ./usr/share/quorvane/engine/ruffle/ruffle.js
        ./usr/share/quorvane/engine/ruffle/LICENSE_MIT
        ./usr/share/quorvane/engine/ruffle/LICENSE_APACHE
        ./usr/share/icons/hicolor/16x16/apps/quorvane.png
        ./usr/share/icons/hicolor/256x256/apps/quorvane.png
        ./usr/share/applications/br.com.quorvane.quorvane.desktop
        ./usr/share/metainfo/br.com.quorvane.quorvane.metainfo.xml
        ./usr/share/man/man1/quorvane.1.gz
        ./usr/share/man/man1/quorvane-catalog.1.gz
        ./usr/share/man/man1/quorvane-swfinfo.1.gz
        ./usr/share/quorvane/demo/config/ketmo.xml
        ./usr/share/quorvane/demo/config/Ok.swf)
    string(FIND "${contents}" " ${expected}\n" at)
    if(at EQUAL -1)
        message(FATAL_ERROR "the package lacks ${expected}")
    endif()
endforeach()
foreach(dependency libqt6webenginecore6 libqt6widgets6 libpugixml1v5 qt6-translations-l10n)
    string(FIND "${depends}" "${dependency}" at)
    if(at EQUAL -1)
        message(FATAL_ERROR "the package does not depend on ${dependency}: ${depends}")
    endif()
endforeach()
message(STATUS "${packages}: ${depends}")
