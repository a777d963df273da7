library ieee;
use ieee.std_logic_1164.all;
-- Resistor: VHDL wrapper
entity cres is
  port (1 : inout std_logic;
        2 : inout std_logic);
end entity;
