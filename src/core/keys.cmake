# Sources of the keys area of quenda_core.
target_sources(quenda_core PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/open_ai_key_store.cpp
  ${CMAKE_CURRENT_LIST_DIR}/permissions.cpp
)
