# Fakes of the state area: permission probe, window system (headers only) and update feed.
target_sources(quenda_platform_fake PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/fake_update_feed.cpp
)
