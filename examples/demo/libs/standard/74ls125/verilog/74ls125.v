// Quad tristate buffer: Verilog wrapper
module c74ls125 (a, oe, y);
  input a;
  input oe;
  output y;
endmodule
