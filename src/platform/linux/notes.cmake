# Linux backends of the notes area.
