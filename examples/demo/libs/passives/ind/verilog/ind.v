// Inductor: Verilog wrapper
module cind (1, 2);
  inout 1;
  inout 2;
endmodule
