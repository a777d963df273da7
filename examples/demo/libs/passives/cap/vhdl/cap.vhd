library ieee;
use ieee.std_logic_1164.all;
-- Capacitor: VHDL wrapper
entity ccap is
  port (1 : inout std_logic;
        2 : inout std_logic);
end entity;
