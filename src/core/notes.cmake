# Sources of the notes area of quenda_core.
target_sources(quenda_core PRIVATE
  apple_notes.cpp
  apple_notes_failure.cpp
  apple_notes_scripts.cpp
  note_store.cpp
  quenda_config_queries.cpp
  quenda_note.cpp
)
