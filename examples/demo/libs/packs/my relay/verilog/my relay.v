// Relay: Verilog wrapper
module cmy_relay (coil1, coil2, com, no);
  input coil1;
  input coil2;
  input com;
  output no;
endmodule
