// Quad 2-input OR (no PART_NAME): Verilog wrapper
module c7432 (a, b, y);
  input a;
  input b;
  output y;
endmodule
