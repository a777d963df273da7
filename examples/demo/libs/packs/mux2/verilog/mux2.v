// 2-to-1 multiplexer: Verilog wrapper
module cmux2 (a, b, s, y);
  input a;
  input b;
  input s;
  output y;
endmodule
