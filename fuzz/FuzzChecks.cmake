# The checks of the fuzz targets as a library, shared by the targets and by
# the replay of the stored inputs in the tests. Included from both places.
if(NOT TARGET vx_fuzz_checks)
  add_library(vx_fuzz_checks STATIC
    ${CMAKE_CURRENT_LIST_DIR}/FuzzSupport.cpp
    ${CMAKE_CURRENT_LIST_DIR}/BookStructure.cpp
    ${CMAKE_CURRENT_LIST_DIR}/FuzzEntries.cpp)
  target_include_directories(vx_fuzz_checks PUBLIC ${PROJECT_SOURCE_DIR})
  target_link_libraries(vx_fuzz_checks PUBLIC vx_book_driver)
endif()
