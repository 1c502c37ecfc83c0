# Sources of the state area of quenda_core.
