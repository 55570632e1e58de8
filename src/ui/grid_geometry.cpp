// Grid geometry.
