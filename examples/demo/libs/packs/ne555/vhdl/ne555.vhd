library ieee;
use ieee.std_logic_1164.all;
-- Timer: VHDL wrapper
entity cne555 is
  port (trig : in std_logic;
        out : out std_logic;
        reset : in std_logic;
        thres : in std_logic);
end entity;
