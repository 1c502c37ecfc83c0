# Fakes of the notes area.
