# Linux backends of the keys area: the Secret Service and the desktop launcher.
pkg_check_modules(QUENDA_LIBSECRET REQUIRED IMPORTED_TARGET GLOBAL libsecret-1)
target_sources(quenda_platform_linux PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/libsecret_store.cpp
  ${CMAKE_CURRENT_LIST_DIR}/desktop_launcher_linux.cpp
)
target_link_libraries(quenda_platform_linux PRIVATE PkgConfig::QUENDA_LIBSECRET Qt6::Gui)
