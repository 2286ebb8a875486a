velmora_test(tst_gui_users tst_gui_users.cpp LIBS velmora_ui)
