library ieee;
use ieee.std_logic_1164.all;
-- Quad 2-input AND (pin lists differ): VHDL wrapper
entity c7408 is
  port (a : in std_logic;
        b : in std_logic;
        y : inout std_logic);
end entity;
