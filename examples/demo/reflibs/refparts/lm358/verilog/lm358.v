// Dual op-amp: Verilog wrapper
module clm358 (inp, inn, out);
  input inp;
  input inn;
  output out;
endmodule
