# Linux backends of the state area. The HTTP update feed sits in a small target of its own so
# the Qt Network dependency and its loopback test stay apart from the X11, Pulse and Secret
# Service backends; quenda_platform_linux passes it on to the program.
add_library(quenda_update_feed_http STATIC ${CMAKE_CURRENT_LIST_DIR}/http_update_feed.cpp)
set_target_properties(quenda_update_feed_http PROPERTIES AUTOMOC ON)
target_include_directories(quenda_update_feed_http PUBLIC ${CMAKE_CURRENT_LIST_DIR})
target_compile_definitions(quenda_update_feed_http PRIVATE
  QUENDA_UPDATE_FEED_URL="${QUENDA_UPDATE_FEED_URL}")
target_link_libraries(quenda_update_feed_http PUBLIC quenda_platform quenda_core Qt6::Network
  PRIVATE quenda_flags)
target_link_libraries(quenda_platform_linux PUBLIC quenda_update_feed_http)
