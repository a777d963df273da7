library ieee;
use ieee.std_logic_1164.all;
-- Tristate AND gate with a heavy input A (template: pin loads): VHDL wrapper
entity tpl_loads is
  port (a : in std_logic;
        b : in std_logic;
        y : out std_logic);
end entity;
