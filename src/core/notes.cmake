# Sources of the notes area of quenda_core.
