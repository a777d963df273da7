library ieee;
use ieee.std_logic_1164.all;
-- D flip-flop: VHDL wrapper
entity cdff1 is
  port (d : inout std_logic; ck : inout std_logic; q : inout std_logic);
end entity;
