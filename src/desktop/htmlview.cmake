# korvin_htmldoc: the libxml2 document model (no Qt), usable without a window.
add_library(korvin_htmldoc STATIC
    ${CMAKE_CURRENT_SOURCE_DIR}/htmldocument.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/htmlencoding.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/htmlnode.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/htmlserializer.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/htmlstyler.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/htmlstylesheet.cpp)
target_include_directories(korvin_htmldoc PUBLIC ${PROJECT_SOURCE_DIR}/src)
target_link_libraries(korvin_htmldoc PUBLIC LibXml2::LibXml2)
set_target_properties(korvin_htmldoc PROPERTIES AUTOMOC OFF)

