# Sources of the keys area of quenda_core.
