kestra-template 1
# The site's standard for discrete parts (resistors, capacitors, inductors, diodes): one
# symbol with its origin in the middle and its pins on a grid of 10, and the properties every
# discrete part must carry. Discrete pins carry no loads.
[symbol]
symbols      1
origin       centred
pin_grid     10
symbol_name  matches
[pinloads]
[properties]
CLASS       DISCRETE
JEDEC_TYPE  *
PART_NAME   *
end
