#include "model/BException.h"

#include <utility>

BException::BException(std::string info, std::string location)
    : exceptionLocation_(std::move(location)), exceptionInfo_(std::move(info)) {}

BException::~BException() = default;
