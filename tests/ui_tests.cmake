velmora_test(tst_gui_users tst_gui_users.cpp LIBS velmora_ui)
velmora_test(tst_gui_records tst_gui_records.cpp LIBS velmora_ui)
velmora_test(tst_gui_chart tst_gui_chart.cpp LIBS velmora_ui)
velmora_test(tst_program_folder tst_program_folder.cpp LIBS velmora_ui)
velmora_test(tst_accessibility tst_accessibility.cpp LIBS velmora_ui)
velmora_test(tst_reports tst_reports.cpp LIBS velmora_ui)
velmora_test(tst_gui_keypad tst_gui_keypad.cpp LIBS velmora_ui)
# The window's looks again at the scale factors of high-dpi screens.
foreach(scale 1.5 2)
  add_test(NAME tst_gui_users_scale_${scale} COMMAND tst_gui_users combosDrawInSongTi hintIsReadWhole windowStartsInsideTheScreen)
  set_tests_properties(tst_gui_users_scale_${scale} PROPERTIES
    ENVIRONMENT "${offscreen_screen};QT_SCALE_FACTOR=${scale}" WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR})
endforeach()
