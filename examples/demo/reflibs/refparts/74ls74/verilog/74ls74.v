// D flip-flop: Verilog wrapper
module c74ls74 (d, clk, q, qn);
  input d;
  input clk;
  output q;
  output qn;
endmodule
