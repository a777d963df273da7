library ieee;
use ieee.std_logic_1164.all;
-- Two-input NOR, its wrapper lacks pin B: VHDL wrapper
entity cnor2 is
  port (a : inout std_logic; y : inout std_logic);
end entity;
