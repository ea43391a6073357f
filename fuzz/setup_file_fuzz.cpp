// Any "Kelpo.ini": the reader ends, and what it returns obeys the line rules.
#include "fuzz_rig.h"
#include "platform/sim/sim_files.h"
#include "text/site_address.h"
#include "windows/setup_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace kelpo;
  fuzz::Rig rig;
  SimFiles files;
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  files.PutCompanion(L"Kelpo.ini", bytes);
  const SetupFileContents contents = ReadSetupFileContents(files, rig.codec, files.ProgramFolder() + L"\\Kelpo.ini");
  // The address never holds a line end: CR ends every line.
  fuzz::Require(contents.raw_url.find(L'\r') == std::wstring::npos);
  if (contents.auto_mode) fuzz::Require(bytes.find("Run=AUTO") != std::string::npos);
  if (!contents.raw_url.empty()) fuzz::Require(bytes.find("URL=") != std::string::npos);
  NormaliseSiteAddress(contents.raw_url);
  return 0;
}
