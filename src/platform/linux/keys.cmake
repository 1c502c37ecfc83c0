# Linux backends of the keys area.
