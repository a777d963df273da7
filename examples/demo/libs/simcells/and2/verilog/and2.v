// Two-input AND: Verilog wrapper
module cand2 (a, b, y);
  input a, b;
  output y;
  AND2_MODEL u1 (.a(a), .b(b), .y(y));
endmodule
