// Quad 2-input NAND: Verilog wrapper
module c7400 (a, b, y);
  input a;
  input b;
  output y;
endmodule
