if a != b then end
