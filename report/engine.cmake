# The RTF engine (no Qt) and its benchmark. Included from the top-level
# CMakeLists.txt.
add_library(vostrel_rtf STATIC
    ${CMAKE_CURRENT_LIST_DIR}/rtf.cpp ${CMAKE_CURRENT_LIST_DIR}/rtf.h
    ${CMAKE_CURRENT_LIST_DIR}/codepages.cpp ${CMAKE_CURRENT_LIST_DIR}/codepages.h
)
target_include_directories(vostrel_rtf PUBLIC ${PROJECT_SOURCE_DIR})
vostrel_warnings(vostrel_rtf)

add_executable(bench_rtf EXCLUDE_FROM_ALL ${PROJECT_SOURCE_DIR}/tools/bench_rtf.cpp)
target_link_libraries(bench_rtf PRIVATE vostrel_rtf)
vostrel_warnings(bench_rtf)
