# Fakes of the keys area.
