library ieee;
use ieee.std_logic_1164.all;
-- Tristate AND gate that follows the site template: VHDL wrapper
entity tpl_clean is
  port (a : in std_logic;
        b : in std_logic;
        y : out std_logic);
end entity;
