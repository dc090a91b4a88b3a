# The libxml2 document model: no Qt, plain GoogleTest.
korvin_add_tests(korvin_htmldoc_tests
    SOURCES
        ${CMAKE_CURRENT_SOURCE_DIR}/htmldocument_test.cpp
        ${CMAKE_CURRENT_SOURCE_DIR}/htmlencoding_test.cpp
        ${CMAKE_CURRENT_SOURCE_DIR}/htmlstyler_test.cpp
        ${CMAKE_CURRENT_SOURCE_DIR}/htmlstylesheet_test.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/htmltextdocuments_test.cpp
    LIBS korvin_htmldoc)

# The Qt text view, offscreen. A main of its own creates the QApplication.
add_executable(korvin_htmlview_tests
    ${CMAKE_CURRENT_SOURCE_DIR}/htmllinktarget_test.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/htmlrenderer_test.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/htmltextview_test.cpp)
target_link_libraries(korvin_htmlview_tests PRIVATE korvin_htmlview korvin_test_support GTest::gtest)
target_compile_definitions(korvin_htmlview_tests PRIVATE
    KORVIN_SOURCE_DIR="${PROJECT_SOURCE_DIR}"
    KORVIN_SHARED_BOOKS_DIR="${PROJECT_SOURCE_DIR}/../shared/books")
gtest_discover_tests(korvin_htmlview_tests
    DISCOVERY_TIMEOUT 120
    PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen" TIMEOUT 300)
