# The libxml2 document model: no Qt, plain GoogleTest.
korvin_add_tests(korvin_htmldoc_tests
    SOURCES
        ${CMAKE_CURRENT_SOURCE_DIR}/htmldocument_test.cpp
        ${CMAKE_CURRENT_SOURCE_DIR}/htmlencoding_test.cpp
        ${CMAKE_CURRENT_SOURCE_DIR}/htmlstyler_test.cpp
        ${CMAKE_CURRENT_SOURCE_DIR}/htmlstylesheet_test.cpp
    LIBS korvin_htmldoc)
