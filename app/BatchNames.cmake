# Naming rules of a batch (output paths, refusals, log lines), shared by the main window and
# the command-line program.
add_library(batch_names STATIC ${CMAKE_CURRENT_LIST_DIR}/BatchNames.cpp)
target_include_directories(batch_names PUBLIC ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(batch_names PUBLIC framework)
