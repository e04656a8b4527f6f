# The checks of the fuzz targets as a library, shared by the targets and by
# the replay of the stored inputs in the tests. Included from both places.
if(NOT TARGET vx_fuzz_checks)
  add_library(vx_fuzz_checks STATIC
    ${CMAKE_CURRENT_LIST_DIR}/FuzzSupport.cpp
    ${CMAKE_CURRENT_LIST_DIR}/FuzzImages.cpp
    ${CMAKE_CURRENT_LIST_DIR}/BookStructure.cpp
    ${CMAKE_CURRENT_LIST_DIR}/BuildEntry.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ImageEntry.cpp
    ${CMAKE_CURRENT_LIST_DIR}/FileEntries.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ReaderView.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ToolView.cpp)
  target_include_directories(vx_fuzz_checks PUBLIC ${PROJECT_SOURCE_DIR})
  target_link_libraries(vx_fuzz_checks PUBLIC vx_book_tool vx_driver)
endif()
