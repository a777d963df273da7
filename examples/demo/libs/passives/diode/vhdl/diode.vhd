library ieee;
use ieee.std_logic_1164.all;
-- Diode: VHDL wrapper
entity cdiode is
  port (a : inout std_logic;
        k : inout std_logic);
end entity;
