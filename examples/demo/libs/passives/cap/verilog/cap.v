// Capacitor: Verilog wrapper
module ccap (1, 2);
  inout 1;
  inout 2;
endmodule
