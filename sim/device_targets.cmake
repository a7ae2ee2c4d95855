# The simulated device's memory image and command answers, without I/O.
add_library(simdevice STATIC ${CMAKE_CURRENT_LIST_DIR}/device_model.cpp)
target_include_directories(simdevice PUBLIC ${CMAKE_CURRENT_LIST_DIR})
set_target_properties(simdevice PROPERTIES AUTOMOC OFF)

# The whole simulated device on its line (zelt-sim, zelt --demo, tests).
add_library(simulator STATIC
  ${CMAKE_CURRENT_LIST_DIR}/device_simulator.cpp
  ${CMAKE_CURRENT_LIST_DIR}/device_simulator.h)
target_link_libraries(simulator PUBLIC simdevice zeltsim)
