# The application's dialogs and message boxes: question box, the desktop's UserInteraction,
# port settings, about box and splash screen.
find_package(Qt6 REQUIRED COMPONENTS Widgets)

add_library(tarvel_app_dialogs STATIC
  ${CMAKE_CURRENT_LIST_DIR}/about_box.cpp
  ${CMAKE_CURRENT_LIST_DIR}/gui_user_interaction.cpp
  ${CMAKE_CURRENT_LIST_DIR}/hyper_link.cpp
  ${CMAKE_CURRENT_LIST_DIR}/line_scan_dialog.cpp
  ${CMAKE_CURRENT_LIST_DIR}/localized_message_box.cpp
  ${CMAKE_CURRENT_LIST_DIR}/port_settings_dialog.cpp
  ${CMAKE_CURRENT_LIST_DIR}/qt_translations.cpp
  ${CMAKE_CURRENT_LIST_DIR}/splash_screen.cpp
  ${CMAKE_CURRENT_LIST_DIR}/transmitter_picture.cpp
)
set_target_properties(tarvel_app_dialogs PROPERTIES AUTOMOC ON)
target_include_directories(tarvel_app_dialogs PUBLIC ${PROJECT_SOURCE_DIR}/src)
target_link_libraries(tarvel_app_dialogs PUBLIC tarvel_document tarvel_controls tarvel_strings Qt6::Widgets)
target_compile_definitions(tarvel_app_dialogs PRIVATE TARVEL4410_VERSION="${PROJECT_VERSION}")
