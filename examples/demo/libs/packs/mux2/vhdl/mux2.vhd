library ieee;
use ieee.std_logic_1164.all;
-- 2-to-1 multiplexer: VHDL wrapper
entity cmux2 is
  port (a : in std_logic;
        b : in std_logic;
        s : in std_logic;
        y : out std_logic);
end entity;
