// Rising-edge D flip-flop
primitive UDP_DFF (q, d, ck);
  output q;
  reg q;
  input d, ck;
  table
  // d ck : q : q+
     0 (01) : ? : 0;
     1 (01) : ? : 1;
     ? (?0) : ? : -;
     * ?    : ? : -;
  endtable
endprimitive
