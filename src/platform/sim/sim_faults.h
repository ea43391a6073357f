#pragma once
// Fault injection shared by the in-memory process, shell and URL-cache ports: a call of a
// given kind, optionally only one whose subject (command line, executable name, URL) contains
// a text, fails or throws a RuntimeError.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace kelpo {

template <typename Op>
struct SimFault {
  Op op{};                // Op::kAny matches every kind of call
  std::wstring subject{}; // part of the call's subject; empty matches every call
  bool throws = false;    // throw a RuntimeError numbered `error` instead of failing
  std::int32_t error = 5; // the failure's code (last error), or the run-time error number
  int skip = 0;           // matching calls let through first
  int times = -1;         // how many calls it hits; < 0 means every later one
};

template <typename Op>
class SimFaults {
 public:
  void Inject(const SimFault<Op>& fault) { faults_.push_back(fault); }
  void Clear() { faults_.clear(); }

  // The fault that hits this call, if any; counts it as used.
  std::optional<SimFault<Op>> Hit(Op op, const std::wstring& subject) {
    for (SimFault<Op>& fault : faults_) {
      if (fault.op != Op::kAny && fault.op != op) continue;
      if (!fault.subject.empty() && subject.find(fault.subject) == std::wstring::npos) continue;
      if (fault.times == 0) continue;
      if (fault.skip > 0) {
        --fault.skip;
        continue;
      }
      if (fault.times > 0) --fault.times;
      return fault;
    }
    return std::nullopt;
  }

 private:
  std::vector<SimFault<Op>> faults_;
};

// One counter for the call records of every sim port, so calls made on different ports can be
// put back into the order they were made.
inline std::uint64_t NextSimCallNumber() {
  static std::uint64_t number = 0;
  return ++number;
}

// ANSI bytes as wide text, byte by byte, for matching a fault's subject.
inline std::wstring WidenBytes(const std::string& bytes) {
  std::wstring wide;
  wide.reserve(bytes.size());
  for (unsigned char byte : bytes) wide.push_back(static_cast<wchar_t>(byte));
  return wide;
}

}  // namespace kelpo
