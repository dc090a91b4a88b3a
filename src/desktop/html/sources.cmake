# SPDX-License-Identifier: GPL-3.0-or-later
# The libxml2 document model's sources (no Qt), relative to this folder: built
# as korvin_htmldoc here and once more, instrumented, by the fuzz targets.
set(KORVIN_HTMLDOC_SOURCES
    dtbookdocument.cpp
    dtbookelements.cpp
    htmldocument.cpp
    htmlelements.cpp
    htmlencoding.cpp
    htmlmarkeredit.cpp
    htmlnode.cpp
    htmlpartwrapper.cpp
    htmlserializer.cpp
    htmlstyler.cpp
    htmlstylesheet.cpp
    htmltextdocuments.cpp
    xhtmlreader.cpp)
