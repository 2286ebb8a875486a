velmora_test(tst_gui_users tst_gui_users.cpp LIBS velmora_ui)
velmora_test(tst_gui_records tst_gui_records.cpp LIBS velmora_ui)
velmora_test(tst_gui_chart tst_gui_chart.cpp LIBS velmora_ui)
velmora_test(tst_program_folder tst_program_folder.cpp LIBS velmora_ui)
