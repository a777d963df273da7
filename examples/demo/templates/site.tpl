kestra-template 1
# The site's standard for small logic parts: one symbol with its origin in the middle and
# its pins on a grid of 10, the usual loads, and the properties every part must carry.
[symbol]
symbols      1
origin       centred
pin_grid     10
symbol_name  matches
[pinloads]
# pin type  input load  output load
input       0.01        -
output      -           0.4
tristate    0.02        0.4
[properties]
CLASS       IC
JEDEC_TYPE  DIP*
PART_NAME   *
end
