library ieee;
use ieee.std_logic_1164.all;
-- Two-input AND: VHDL wrapper
entity cand2 is
  port (a : inout std_logic; b : inout std_logic; y : inout std_logic);
end entity;
