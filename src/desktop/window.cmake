# korvin_desktop: the Qt main window, its controls, keys, menus, dialogs, single
# instance and start-up folders; korvin: the program.

# Where the installed program finds its data, relative to its own folder.
file(RELATIVE_PATH KORVIN_RELATIVE_DATA_DIR
     "${CMAKE_INSTALL_FULL_BINDIR}" "${CMAKE_INSTALL_FULL_DATADIR}/korvin")

add_library(korvin_desktop STATIC
    aboutbox.cpp
    appicon.cpp
    ca_daisy.cpp
    ca_mitteilung.cpp
    ca_suche.cpp
    clientarea.cpp
    commandline.cpp
    desktopprogram.cpp
    desktopwindow.cpp
    headingtreeview.cpp
    keyfilter.cpp
    keymapping.cpp
    menubarview.cpp
    menushortcutstyle.cpp
    playerpanel.cpp
    qtdialogs.cpp
    qtlistbox.cpp
    qtmessageboxes.cpp
    qttimers.cpp
    singleinstance.cpp
    startfolders.cpp
    textviewaccessible.cpp
)
target_link_libraries(korvin_desktop PUBLIC korvin_app korvin_mpv korvin_htmlview Qt6::Widgets Qt6::Network)
target_compile_definitions(korvin_desktop PRIVATE
    KORVIN_RELATIVE_DATA_DIR="${KORVIN_RELATIVE_DATA_DIR}"
    KORVIN_SOURCE_DATA_DIR="${PROJECT_SOURCE_DIR}/resources")

add_executable(korvin main.cpp)
target_link_libraries(korvin PRIVATE korvin_desktop)
# build/<dir>/korvin, where scripts/play.sh starts it.
set_target_properties(korvin PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${PROJECT_BINARY_DIR})
install(TARGETS korvin RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${PROJECT_SOURCE_DIR}/resources/korvin.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${PROJECT_SOURCE_DIR}/resources/korvin.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
