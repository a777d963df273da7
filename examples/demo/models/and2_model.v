// Two-input AND model
module AND2_MODEL (a, b, y);
  input a, b;
  output y;
  and (y, a, b);
endmodule
