// Dobra, the chips database: names and values of its objects as text. Declarations only
// until the exported part model needs them.
#pragma once

#include <string>

struct DobraObject;  // an object of the chips database, owned by Dobra

std::string dobraLogPartName(const DobraObject* part);
std::string dobraPhysPartName(const DobraObject* part);
std::string dobraPinName(const DobraObject* pin);
std::string dobraPropName(const DobraObject* property);
std::string dobraPropValue(const DobraObject* property);
