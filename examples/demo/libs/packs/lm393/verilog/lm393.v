// Comparator: Verilog wrapper
module clm393 (inp, inn, out);
  input inp;
  input inn;
  output out;
endmodule
