// Quad 2-input AND (pin lists differ): Verilog wrapper
module c7408 (a, b, y);
  input a;
  input b;
  inout y;
endmodule
