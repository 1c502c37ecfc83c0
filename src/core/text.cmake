# Sources of the text area of quenda_core.
