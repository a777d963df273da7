// A point of a symbol's grid with a third value (a bend or a count, as the reader uses it).
#pragma once

#include <cstdint>

class EGridCoordinate {
 public:
  EGridCoordinate(std::int32_t x = 0, std::int32_t y = 0, std::int32_t z = 0)
      : x_(x), y_(y), z_(z) {}
  virtual ~EGridCoordinate() = default;
  EGridCoordinate(const EGridCoordinate&) = default;
  EGridCoordinate& operator=(const EGridCoordinate&) = default;

  std::int32_t x() const { return x_; }
  std::int32_t y() const { return y_; }
  std::int32_t z() const { return z_; }
  bool operator==(const EGridCoordinate&) const = default;

 private:
  std::int32_t x_;
  std::int32_t y_;
  std::int32_t z_;
};
