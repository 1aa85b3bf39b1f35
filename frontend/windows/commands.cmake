# The input dialogs, the About box and the commands of the main window's menus and tool bar.
find_package(Qt6 REQUIRED COMPONENTS Network)
target_sources(velmor_windows PRIVATE
    about_box.cpp
    about_box.h
    about_box.ui
    close_menu_soon.h
    dlg_con_loads.ui
    dlg_csd.ui
    dlg_options.ui
    dlg_prop.ui
    dlg_rebar.ui
    dlg_spring.ui
    dlg_title.ui
    input_dialogs.cpp
    input_dialogs.h
    main_commands.cpp
    main_commands.h
    pictures/dialogs.qrc
    pictures/toolbar.qrc
)
target_link_libraries(velmor_windows PUBLIC Qt6::Network Qt6::Svg)
# The generated form headers, for the tests that reach into the forms.
target_include_directories(velmor_windows PUBLIC ${CMAKE_CURRENT_BINARY_DIR}/velmor_windows_autogen/include)
