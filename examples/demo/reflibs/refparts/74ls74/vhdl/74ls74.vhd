library ieee;
use ieee.std_logic_1164.all;
-- D flip-flop: VHDL wrapper
entity c74ls74 is
  port (d : in std_logic;
        clk : in std_logic;
        q : out std_logic;
        qn : out std_logic);
end entity;
