# korvin_htmldoc: the libxml2 document model (no Qt), usable without a window.
add_library(korvin_htmldoc STATIC
    ${CMAKE_CURRENT_SOURCE_DIR}/htmldocument.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/htmlencoding.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/htmlnode.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/htmlserializer.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/htmlstyler.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/htmlstylesheet.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/htmltextdocuments.cpp)
target_include_directories(korvin_htmldoc PUBLIC ${PROJECT_SOURCE_DIR}/src)
target_link_libraries(korvin_htmldoc PUBLIC korvin_book LibXml2::LibXml2)
set_target_properties(korvin_htmldoc PROPERTIES AUTOMOC OFF)

# korvin_htmlview: the Qt text view that shows the document.
add_library(korvin_htmlview STATIC
    ${CMAKE_CURRENT_SOURCE_DIR}/htmlcontentupdater.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/htmlformats.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/htmllinktarget.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/htmlrenderer.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/htmltextview.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/htmltextview.h)
target_link_libraries(korvin_htmlview PUBLIC korvin_htmldoc korvin_platform Qt6::Widgets)
