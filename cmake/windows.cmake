# Windows tree: veltscan.exe and the tests that run under Wine.
add_link_options(-static -static-libgcc -static-libstdc++)
add_compile_definitions(WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601 WINVER=0x0601)

set(gtest_disable_pthreads ON CACHE BOOL "" FORCE)
add_subdirectory(${GTEST_SOURCE_DIR} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

set(WIN_LIBS user32 gdi32 kernel32 comctl32)

# Everything but the entry point, so that the tests link the real program.
add_library(veltscan_lib STATIC
  ${CORE_SOURCES}
  framework/App.cpp
  framework/MessageBox.cpp
  framework/File.cpp
  framework/Controls.cpp
  framework/Dialog.cpp
  search/ScanFile.cpp
  search/DirectoryListing.cpp
  search/SearchRun.cpp
  app/ScanApp.cpp
  app/ScanDialog.cpp
  app/DirectoryBrowser.cpp
  present/Report.cpp
  present/ResultsDialog.cpp
)
target_link_libraries(veltscan_lib PUBLIC ${WIN_LIBS})

set(VELTSCAN_RC ${CMAKE_SOURCE_DIR}/res/veltscan.rc)

add_executable(veltscan WIN32 app/WinMain.cpp ${VELTSCAN_RC})
target_link_libraries(veltscan PRIVATE veltscan_lib)

add_subdirectory(tests/win)
if(VELTSCAN_BUILD_HELP)
  add_subdirectory(help)
endif()
