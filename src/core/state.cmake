# Sources of the state area of quenda_core: the shared application state and the style catalogue.
target_sources(quenda_core PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/app_state.cpp
  ${CMAKE_CURRENT_LIST_DIR}/app_state_config.cpp
  ${CMAKE_CURRENT_LIST_DIR}/app_state_notes.cpp
  ${CMAKE_CURRENT_LIST_DIR}/app_state_styles.cpp
  ${CMAKE_CURRENT_LIST_DIR}/app_state_update.cpp
  ${CMAKE_CURRENT_LIST_DIR}/app_style_catalog.cpp
  ${CMAKE_CURRENT_LIST_DIR}/desktop_entry.cpp
  ${CMAKE_CURRENT_LIST_DIR}/main_section.cpp
  ${CMAKE_CURRENT_LIST_DIR}/word_count.cpp
)

# The maker's update feed; empty builds a program whose update checks always fail.
set(QUENDA_UPDATE_FEED_URL "" CACHE STRING "Address of the update feed (JSON with version and pkgURL)")
