library ieee;
use ieee.std_logic_1164.all;
-- Relay: VHDL wrapper
entity cmy_relay is
  port (coil1 : in std_logic;
        coil2 : in std_logic;
        com : in std_logic;
        no : out std_logic);
end entity;
