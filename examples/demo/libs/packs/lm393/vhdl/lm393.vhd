library ieee;
use ieee.std_logic_1164.all;
-- Comparator: VHDL wrapper
entity clm393 is
  port (inp : in std_logic;
        inn : in std_logic;
        out : out std_logic);
end entity;
