// Tristate AND gate that follows the site template: Verilog wrapper
module tpl_clean (a, b, y);
  input a;
  input b;
  output y;
endmodule
