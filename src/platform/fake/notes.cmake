# Fakes of the notes area.
target_sources(quenda_platform_fake PRIVATE
  fake_script_runner.cpp
)
