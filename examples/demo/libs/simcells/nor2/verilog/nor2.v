// Two-input NOR, its wrapper lacks pin B: Verilog wrapper
module cnor2 (a, y);
  input a;
  output y;
  NOR2_MODEL u1 (.a(a), .b(1'b0), .y(y));
endmodule
