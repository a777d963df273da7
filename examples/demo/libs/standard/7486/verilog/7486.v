// Quad XOR (symbol name differs): Verilog wrapper
module c7486 (a, b, y);
  input a;
  input b;
  output y;
endmodule
