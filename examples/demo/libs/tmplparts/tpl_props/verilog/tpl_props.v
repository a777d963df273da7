// Tristate AND gate with CLASS ASIC (template: property values): Verilog wrapper
module tpl_props (a, b, y);
  input a;
  input b;
  output y;
endmodule
