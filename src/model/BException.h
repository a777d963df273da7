// A failure of the template library or the part model: what went wrong, in words a
// librarian understands, and where (a file and line, or an operation). Callers show
// getExceptionInfo and go on. Copyable; also a std::exception whose what() is the info.
#pragma once

#include <exception>
#include <string>

class BException : public std::exception {
 public:
  explicit BException(std::string info = {}, std::string location = {});
  ~BException() override;
  BException(const BException&) = default;
  BException& operator=(const BException&) = default;

  virtual std::string getExceptionInfo() const { return exceptionInfo_; }
  virtual std::string getExceptionLocation() const { return exceptionLocation_; }
  const char* what() const noexcept override { return exceptionInfo_.c_str(); }

 private:
  std::string exceptionLocation_;
  std::string exceptionInfo_;
};
