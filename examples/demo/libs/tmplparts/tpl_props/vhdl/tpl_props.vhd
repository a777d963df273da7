library ieee;
use ieee.std_logic_1164.all;
-- Tristate AND gate with CLASS ASIC (template: property values): VHDL wrapper
entity tpl_props is
  port (a : in std_logic;
        b : in std_logic;
        y : out std_logic);
end entity;
