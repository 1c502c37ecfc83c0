# Copies the engine package and its setup script into the resource folder (cmake -P script).
# The old copy goes first, so a module removed from the sources does not linger in the stage.
file(REMOVE_RECURSE ${DEST}/engine)
file(COPY ${SOURCE}/quenda_engine DESTINATION ${DEST}/engine
  PATTERN __pycache__ EXCLUDE
  PATTERN "*.pyc" EXCLUDE)
file(COPY ${SOURCE}/setup_engine.sh DESTINATION ${DEST})
