// Diode: Verilog wrapper
module cdiode (a, k);
  inout a;
  inout k;
endmodule
