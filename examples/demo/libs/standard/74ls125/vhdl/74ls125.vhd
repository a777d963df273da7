library ieee;
use ieee.std_logic_1164.all;
-- Quad tristate buffer: VHDL wrapper
entity c74ls125 is
  port (a : in std_logic;
        oe : in std_logic;
        y : out std_logic);
end entity;
