library ieee;
use ieee.std_logic_1164.all;
-- Octal tristate buffer (no loads): VHDL wrapper
entity c74ls244 is
  port (a : in std_logic;
        g : in std_logic;
        y : out std_logic);
end entity;
