// What the module's shared library exports: the command object, the application object and
// the entry points. Everything else in the module is hidden (-fvisibility=hidden).
#pragma once

#define KESTRA_EXPORT __attribute__((visibility("default")))
