# Fakes of the keys area.
target_sources(quenda_platform_fake PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/fake_secret_store.cpp
  ${CMAKE_CURRENT_LIST_DIR}/fake_desktop_launcher.cpp
)
