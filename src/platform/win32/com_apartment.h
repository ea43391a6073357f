#pragma once
// COM for the calling thread for as long as the object lives: the scripting shell object and
// the desktop shell's start of a program both want it. Include only after <windows.h>.
#include <objbase.h>

namespace kelpo {

class ComApartment {
 public:
  ComApartment() : result_(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE)) {}
  ComApartment(const ComApartment&) = delete;
  ComApartment& operator=(const ComApartment&) = delete;
  ~ComApartment() {
    if (SUCCEEDED(result_)) CoUninitialize();  // S_FALSE is counted too
  }

 private:
  HRESULT result_;
};

}  // namespace kelpo
