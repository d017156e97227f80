find_package(GTest REQUIRED)

# A GoogleTest suite: quorvane_gtest(NAME sources... LIBS libraries...)
function(quorvane_gtest name)
    cmake_parse_arguments(PARSE_ARGV 1 arg "" "" "LIBS")
    add_executable(${name} ${arg_UNPARSED_ARGUMENTS})
    target_link_libraries(${name} PRIVATE ${arg_LIBS} GTest::gtest_main project_warnings)
    # Test names start with the suite's executable, so `ctest -R catalog` selects a folder's tests.
    gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 TEST_PREFIX "${name}."
        PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
endfunction()

# A Qt Test suite on offscreen windows: quorvane_qttest(NAME sources... LIBS libraries...)
function(quorvane_qttest name)
    cmake_parse_arguments(PARSE_ARGV 1 arg "" "" "LIBS")
    add_executable(${name} ${arg_UNPARSED_ARGUMENTS})
    target_link_libraries(${name} PRIVATE ${arg_LIBS} Qt6::Test project_warnings)
    set_target_properties(${name} PROPERTIES AUTOMOC ON)
    add_test(NAME ${name} COMMAND ${name})
    set_tests_properties(${name} PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen" TIMEOUT 120)
endfunction()

# A Qt Test suite that needs a real X server and the real player engine.
function(quorvane_e2etest name)
    cmake_parse_arguments(PARSE_ARGV 1 arg "" "" "LIBS")
    add_executable(${name} ${arg_UNPARSED_ARGUMENTS})
    target_link_libraries(${name} PRIVATE ${arg_LIBS} Qt6::Test project_warnings)
    set_target_properties(${name} PROPERTIES AUTOMOC ON)
    quorvane_e2erun(${name} ${name})
endfunction()

# Registers a run of an end-to-end test executable under X as the test `name`.
function(quorvane_e2erun name target)
    add_test(NAME ${name} COMMAND xvfb-run -a -s "-screen 0 1280x1024x24" $<TARGET_FILE:${target}>)
    set_tests_properties(${name} PROPERTIES LABELS e2e TIMEOUT 300
        ENVIRONMENT "QTWEBENGINE_DISABLE_SANDBOX=1;QT_QPA_PLATFORM=xcb")
endfunction()
