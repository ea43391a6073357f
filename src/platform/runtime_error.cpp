#include "platform/runtime_error.h"

#include <exception>
#include <new>

namespace kelpo {
namespace {
constexpr int kOutOfMemory = 7;
constexpr int kApplicationDefined = 1004;

std::wstring Format(int number) { return std::to_wstring(number) + L">  " + DescribeRuntimeError(number); }
}  // namespace

RuntimeError::RuntimeError(int number)
    : std::runtime_error("run-time error " + std::to_string(number)), number_(number) {}

std::wstring DescribeRuntimeError(int number) {
  switch (number) {
    case 5: return L"无效的过程调用或参数";
    case 6: return L"溢出";
    case 7: return L"内存溢出";
    case 9: return L"下标越界";
    case 13: return L"类型不匹配";
    case 91: return L"对象变量或 With 块变量未设置";
    default: return L"应用程序定义的错误或对象定义的错误";
  }
}

std::wstring DescribeCurrentException() {
  try {
    throw;
  } catch (const RuntimeError& error) {
    return Format(error.number());
  } catch (const std::bad_alloc&) {
    return Format(kOutOfMemory);
  } catch (...) {
    return Format(kApplicationDefined);
  }
}

}  // namespace kelpo
