kestra-template 1
# edge cases
[properties]
EMPTY ""
BLANKS "  two  words  "
QUOTED ""inner""
UTF8 Widerstand äö
[pinloads]
input 0 -
output 1e-3 .5
[symbol]
symbols 0
end

# trailer
