library ieee;
use ieee.std_logic_1164.all;
-- Quad XOR (symbol name differs): VHDL wrapper
entity c7486 is
  port (a : in std_logic;
        b : in std_logic;
        y : out std_logic);
end entity;
