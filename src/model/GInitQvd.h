// Initialises the suite's environment for a product ("mld" unless given): remembers the
// product the model's readers and checks work for.
#pragma once

#include <string>

class GInitQvd {
 public:
  GInitQvd();
  explicit GInitQvd(std::string product);
  virtual ~GInitQvd();

  const std::string& getProduct() const { return product_; }

 private:
  std::string product_;
};
