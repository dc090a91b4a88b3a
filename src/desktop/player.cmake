# (empty until this part lands)
