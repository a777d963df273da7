kestra-template 1
# The project's standard for logic and analogue ICs (libraries standard, simcells, packs): one
# symbol with its origin in the middle and its pins on a grid of 10, the symbol named as in
# the package, and the properties every IC must carry. These libraries give their pins no
# loads, so loads are not checked (the site template site.tpl asks for them).
[symbol]
symbols      1
origin       centred
pin_grid     10
symbol_name  matches
[pinloads]
[properties]
CLASS       IC
JEDEC_TYPE  *
PART_NAME   *
end
