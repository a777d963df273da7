#include "model/GInitQvd.h"

#include <utility>

GInitQvd::GInitQvd() : GInitQvd("mld") {}

GInitQvd::GInitQvd(std::string product) : product_(std::move(product)) {}

GInitQvd::~GInitQvd() = default;
