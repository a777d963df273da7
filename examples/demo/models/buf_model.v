// Buffer model
module BUF_MODEL (a, y);
  input a;
  output y;
  buf (y, a);
endmodule
