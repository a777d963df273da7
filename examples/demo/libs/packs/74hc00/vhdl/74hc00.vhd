library ieee;
use ieee.std_logic_1164.all;
-- Quad 2-input NAND: VHDL wrapper
entity c74hc00 is
  port (a : in std_logic;
        b : in std_logic;
        y : out std_logic);
end entity;
