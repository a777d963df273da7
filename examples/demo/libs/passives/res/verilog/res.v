// Resistor: Verilog wrapper
module cres (1, 2);
  inout 1;
  inout 2;
endmodule
