#include "platform/win32/win32_shell.h"

#include <windows.h>
#include <objbase.h>
#include <oleauto.h>

#include <utility>

#include "platform/unique_resource.h"
#include "platform/win32/com_apartment.h"

namespace kelpo {
namespace {

// The automation object, released once.
struct DispatchReleaser {
  using Handle = IDispatch*;
  static constexpr IDispatch* kNone = nullptr;
  static bool Owns(IDispatch* object) { return object != nullptr; }
  ULONG Close(IDispatch* object) { return object->Release(); }
};
using DispatchPtr = UniqueResource<DispatchReleaser>;

class Variant {
 public:
  Variant() { VariantInit(&value_); }
  Variant(const Variant&) = delete;
  Variant& operator=(const Variant&) = delete;
  ~Variant() { VariantClear(&value_); }
  VARIANT* get() { return &value_; }

 private:
  VARIANT value_;
};

// IID_NULL, spelled out so no GUID library is needed.
constexpr IID kNoInterface{};

HRESULT CallRun(IDispatch& shell, const std::wstring& command_line) {
  OLECHAR method[] = L"run";
  LPOLESTR names[] = {method};
  DISPID run_id = 0;
  HRESULT result = shell.GetIDsOfNames(kNoInterface, names, 1, LOCALE_USER_DEFAULT, &run_id);
  if (FAILED(result)) return result;
  Variant argument;
  argument.get()->vt = VT_BSTR;
  argument.get()->bstrVal = SysAllocStringLen(command_line.data(), static_cast<UINT>(command_line.size()));
  if (argument.get()->bstrVal == nullptr) return E_OUTOFMEMORY;
  DISPPARAMS parameters{argument.get(), nullptr, 1, 0};
  Variant answer;
  return shell.Invoke(run_id, kNoInterface, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &parameters, answer.get(),
                      nullptr, nullptr);
}

}  // namespace

bool Win32Shell::Run(const std::wstring& command_line) {
  const ComApartment apartment;
  CLSID shell_class{};
  if (FAILED(CLSIDFromProgID(L"wscript.shell", &shell_class))) return false;
  IDispatch* created = nullptr;
  if (FAILED(CoCreateInstance(shell_class, nullptr, CLSCTX_SERVER, __uuidof(IDispatch), reinterpret_cast<void**>(&created))))
    return false;
  const DispatchPtr shell(created);
  return SUCCEEDED(CallRun(*shell.get(), command_line));
}

}  // namespace kelpo
