// D flip-flop model on the UDP_DFF primitive
module DFF_MODEL (d, ck, q);
  input d, ck;
  output q;
  UDP_DFF u0 (q, d, ck);
endmodule
