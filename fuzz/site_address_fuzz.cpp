// Any typed address: the normalised form starts with no blank (it is trimmed before the path
// is cut, so a blank before the path stays at its end) and holds no path; with a scheme, no port.
#include "fuzz_rig.h"
#include "text/site_address.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace kelpo;
  fuzz::Rig rig;
  const std::wstring typed = rig.codec.FromAnsi(std::string(reinterpret_cast<const char*>(data), size));
  const std::wstring site = NormaliseSiteAddress(typed);
  if (site.empty()) return 0;
  fuzz::Require(site.front() != L' ');
  const std::size_t scheme = site.find(L"://");
  const std::wstring host = scheme == std::wstring::npos ? site : site.substr(scheme + 3);
  fuzz::Require(host.find(L'/') == std::wstring::npos);
  if (scheme != std::wstring::npos) fuzz::Require(host.find(L':') == std::wstring::npos);
  return 0;
}
