// Tristate AND gate with a heavy input A (template: pin loads): Verilog wrapper
module tpl_loads (a, b, y);
  input a;
  input b;
  output y;
endmodule
