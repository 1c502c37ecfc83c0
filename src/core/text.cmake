# Sources of the text area of quenda_core: UI text lookup, time texts and the printf formatter.
target_sources(quenda_core PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/fmt.cpp
  ${CMAKE_CURRENT_LIST_DIR}/l10n.cpp
  ${CMAKE_CURRENT_LIST_DIR}/text_format.cpp
)
