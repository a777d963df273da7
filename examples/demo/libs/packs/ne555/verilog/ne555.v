// Timer: Verilog wrapper
module cne555 (trig, out, reset, thres);
  input trig;
  output out;
  input reset;
  input thres;
endmodule
