# Wine runs what the cross build makes, each check in a fresh prefix of its own inside the build
# folder. The suites and the program in the build folder find Qt's DLLs and the compiler's
# through WINEPATH; the ZIP must bring its own.
set(dll_folders $<TARGET_FILE_DIR:Qt6::Core>)
foreach(dll ${KST_RUNTIME_DLLS})
  get_filename_component(folder ${dll} DIRECTORY)
  list(APPEND dll_folders ${folder})
endforeach()
list(REMOVE_DUPLICATES dll_folders)
string(JOIN : dll_path ${dll_folders})

add_test(NAME wine_suites
         COMMAND ${PROJECT_SOURCE_DIR}/tools/windows/run-suites.sh ${CMAKE_BINARY_DIR} ${dll_path}
                 $<TARGET_FILE:tst_model> $<TARGET_FILE:tst_file> $<TARGET_FILE:tst_editing>
                 $<TARGET_FILE:tst_property> $<TARGET_FILE:tst_history> $<TARGET_FILE:tst_emulator>
                 $<TARGET_FILE:tst_table>)
kst_add_script(wine_real_window 900 windows/real-window.sh ${CMAKE_BINARY_DIR} ${dll_path}
               ${program} ${demo})
kst_add_script(wine_layout 900 windows/layout.sh ${CMAKE_BINARY_DIR} ${dll_path}
               $<TARGET_FILE:tst_window>)
kst_add_script(wine_zip 900 windows/check-zip.sh ${CMAKE_BINARY_DIR} ${demo})
# Each starts an X server and a Wine of its own; on a shared machine one at a time.
set_tests_properties(wine_suites wine_real_window wine_layout wine_zip PROPERTIES RUN_SERIAL ON TIMEOUT 900)
