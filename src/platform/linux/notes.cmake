# Linux backends of the notes area.
target_sources(quenda_platform_linux PRIVATE
  qprocess_script_runner.cpp
)
