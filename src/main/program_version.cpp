#include "main/program_version.h"

#include <windows.h>
#include <winver.h>

#include <cstring>

namespace kelpo {
namespace {

// The fixed part of a version resource follows its header (three 16-bit sizes and types) and
// the key "VS_VERSION_INFO" with its zero, on the next 32-bit boundary.
constexpr std::size_t kFixedInfoOffset = (3 * sizeof(WORD) + sizeof(L"VS_VERSION_INFO") + 3) & ~std::size_t{3};

}  // namespace

std::wstring ProgramVersion() {
  constexpr WORD kVersionType = 16;  // RT_VERSION
  const HRSRC found = FindResourceW(nullptr, MAKEINTRESOURCEW(VS_VERSION_INFO), MAKEINTRESOURCEW(kVersionType));
  if (found == nullptr) return L"";
  const HGLOBAL loaded = LoadResource(nullptr, found);
  const auto* bytes = loaded != nullptr ? static_cast<const unsigned char*>(LockResource(loaded)) : nullptr;
  if (bytes == nullptr || SizeofResource(nullptr, found) < kFixedInfoOffset + sizeof(VS_FIXEDFILEINFO)) return L"";
  VS_FIXEDFILEINFO info;
  std::memcpy(&info, bytes + kFixedInfoOffset, sizeof info);
  if (info.dwSignature != 0xFEEF04BD) return L"";
  return std::to_wstring(HIWORD(info.dwFileVersionMS)) + L"." + std::to_wstring(LOWORD(info.dwFileVersionMS)) + L"." +
         std::to_wstring(HIWORD(info.dwFileVersionLS)) + L"." + std::to_wstring(LOWORD(info.dwFileVersionLS));
}

}  // namespace kelpo
