library ieee;
use ieee.std_logic_1164.all;
-- Buffer: VHDL wrapper
entity cbuf1 is
  port (a : inout std_logic; y : inout std_logic);
end entity;
