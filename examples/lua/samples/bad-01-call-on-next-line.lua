print(f
(a))
