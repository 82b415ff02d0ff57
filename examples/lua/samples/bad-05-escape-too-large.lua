local s = "\256"
