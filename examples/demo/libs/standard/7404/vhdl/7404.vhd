library ieee;
use ieee.std_logic_1164.all;
-- Hex inverter (origin off centre): VHDL wrapper
entity c7404 is
  port (a : in std_logic;
        y : out std_logic);
end entity;
