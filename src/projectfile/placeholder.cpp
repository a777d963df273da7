// Replaced as soon as the first component lands.
