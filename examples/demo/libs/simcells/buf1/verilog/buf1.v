// Buffer: Verilog wrapper
module cbuf1 (a, y);
  input a;
  output y;
  BUF_MODEL u1 (.a(a), .y(y));
endmodule
