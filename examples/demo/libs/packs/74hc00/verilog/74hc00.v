// Quad 2-input NAND: Verilog wrapper
module c74hc00 (a, b, y);
  input a;
  input b;
  output y;
endmodule
