"""Quenda's local speech engine: HTTP on loopback, recognition and text correction."""
