// Tristate AND gate with pin B off the grid (template: symbol information): Verilog wrapper
module tpl_symbol (a, b, y);
  input a;
  input b;
  output y;
endmodule
