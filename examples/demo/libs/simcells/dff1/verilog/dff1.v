// D flip-flop: Verilog wrapper
module cdff1 (d, ck, q);
  input d, ck;
  output q;
  DFF_MODEL u1 (.d(d), .ck(ck), .q(q));
endmodule
