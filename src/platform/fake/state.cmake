# Fakes of the state area.
