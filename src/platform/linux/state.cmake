# Linux backends of the state area.
