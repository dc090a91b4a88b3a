# The main window and its parts, offscreen, with the real controller.
find_package(Qt6 REQUIRED COMPONENTS Test)

add_executable(korvin_window_tests
    windowtestmain.cpp
    windowfixture.cpp
    aboutbox_test.cpp
    accessibility_test.cpp
    ca_daisy_test.cpp
    ca_mitteilung_test.cpp
    ca_suche_test.cpp
    commandline_test.cpp
    desktopwindow_test.cpp
    headingtreeview_test.cpp
    keyfilter_test.cpp
    keymapping_test.cpp
    listening_test.cpp
    main_test.cpp
    menubarview_test.cpp
    qtdialogs_test.cpp
    qtlistbox_test.cpp
    qttimers_test.cpp
    singleinstance_test.cpp
    textviewaccessible_test.cpp
)
target_link_libraries(korvin_window_tests PRIVATE
    korvin_desktop korvin_test_support Qt6::Test GTest::gtest)
target_compile_definitions(korvin_window_tests PRIVATE
    KORVIN_SOURCE_DIR="${PROJECT_SOURCE_DIR}"
    KORVIN_SHARED_BOOKS_DIR="${PROJECT_SOURCE_DIR}/../shared/books"
    KORVIN_PROGRAM="$<TARGET_FILE:korvin>")
add_dependencies(korvin_window_tests korvin)
gtest_discover_tests(korvin_window_tests
    DISCOVERY_TIMEOUT 120
    PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen;KORVIN_MPV_OPTIONS=ao=null" TIMEOUT 120)
