// Octal tristate buffer (no loads): Verilog wrapper
module c74ls244 (a, g, y);
  input a;
  input g;
  output y;
endmodule
