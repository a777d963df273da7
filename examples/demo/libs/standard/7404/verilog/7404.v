// Hex inverter (origin off centre): Verilog wrapper
module c7404 (a, y);
  input a;
  output y;
endmodule
