library ieee;
use ieee.std_logic_1164.all;
-- Tristate AND gate with pin B off the grid (template: symbol information): VHDL wrapper
entity tpl_symbol is
  port (a : in std_logic;
        b : in std_logic;
        y : out std_logic);
end entity;
