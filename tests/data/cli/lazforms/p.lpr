program p; uses one, two, both; begin end.
