#pragma once
// A trapped "run-time error": the program's procedures that trap errors show its number and
// description; every other failure is a return value.
#include <stdexcept>
#include <string>

namespace kelpo {

class RuntimeError : public std::runtime_error {
 public:
  explicit RuntimeError(int number);
  int number() const { return number_; }

 private:
  int number_;
};

// The description shown beside a run-time error's number.
std::wstring DescribeRuntimeError(int number);

// The number and description of whatever was thrown, for the error box: the number, ">  " and
// the description. Call only from inside a catch block.
std::wstring DescribeCurrentException();

}  // namespace kelpo
