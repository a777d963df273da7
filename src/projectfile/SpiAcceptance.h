// The acceptance rule: whether a value of a directive given at a level is honoured, decided by
// the control words of the levels below it ("lock", "allow_user_tak").
#pragma once

class CSpiDirective;

bool SpiValueHonoured(const CSpiDirective& directive, int level);
