# The device stores, the device command words and the response dispatcher,
# without Qt or a port.
add_library(device STATIC
  ${CMAKE_CURRENT_LIST_DIR}/device_records.cpp
  ${CMAKE_CURRENT_LIST_DIR}/device_stores.cpp
  ${CMAKE_CURRENT_LIST_DIR}/device_words.cpp
  ${CMAKE_CURRENT_LIST_DIR}/dispatcher.cpp
  ${CMAKE_CURRENT_LIST_DIR}/dispatcher_script.cpp
  ${CMAKE_CURRENT_LIST_DIR}/script_space.cpp)
target_include_directories(device PUBLIC ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(device PUBLIC engine uhex)
set_target_properties(device PROPERTIES AUTOMOC OFF)

# The port scan sits with the link on Qt Serial Port.
target_sources(link PRIVATE ${CMAKE_CURRENT_LIST_DIR}/port_scan.cpp)

# The device words and the dispatcher belong to the link subsystem: whoever
# uses the link gets them too.
target_link_libraries(link PUBLIC device)
