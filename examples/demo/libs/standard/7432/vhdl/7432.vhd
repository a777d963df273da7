library ieee;
use ieee.std_logic_1164.all;
-- Quad 2-input OR (no PART_NAME): VHDL wrapper
entity c7432 is
  port (a : in std_logic;
        b : in std_logic;
        y : out std_logic);
end entity;
