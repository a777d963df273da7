// Two-input NOR model
module NOR2_MODEL (a, b, y);
  input a, b;
  output y;
  nor (y, a, b);
endmodule
